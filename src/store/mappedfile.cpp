#include "store/mappedfile.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

namespace zel {
namespace {

// The mappings alive, where the handler looks for a faulting address. Plain
// lock-free atomics: the handler may run on any thread at any moment.
struct Guarded {
  std::atomic<uintptr_t> begin{0};
  std::atomic<uintptr_t> end{0};
  std::atomic<bool> lost{false};
};
constexpr size_t kSlots = 64;
Guarded guarded[kSlots];

uintptr_t pageSize = 4096;
struct sigaction previousAction {};

void onBusError(int sig, siginfo_t* info, void* context) {
  const auto at = reinterpret_cast<uintptr_t>(info->si_addr);
  for (Guarded& g : guarded) {
    if (at < g.begin.load() || at >= g.end.load()) continue;
    // Zeros in place of the page the file no longer has: the access that
    // faulted is retried and reads them.
    void* page = reinterpret_cast<void*>(at & ~(pageSize - 1));
    if (::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED) break;
    g.lost.store(true);
    return;
  }
  // Not a listing's page: whatever would have happened without this handler.
  if (previousAction.sa_flags & SA_SIGINFO) {
    previousAction.sa_sigaction(sig, info, context);
  } else if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
    previousAction.sa_handler(sig);
  } else {
    ::sigaction(SIGBUS, &previousAction, nullptr);  // the fault comes again and ends the program
  }
}

void installHandler() {
  static std::once_flag once;
  std::call_once(once, [] {
    pageSize = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &previousAction);
  });
}

// A free slot for [begin, end), or kSlots when every slot is taken.
size_t claimSlot(uintptr_t begin, uintptr_t end) {
  for (size_t i = 0; i < kSlots; ++i) {
    uintptr_t free = 0;
    if (!guarded[i].begin.compare_exchange_strong(free, begin)) continue;
    guarded[i].lost.store(false);
    guarded[i].end.store(end);
    return i;
  }
  return kSlots;
}

}  // namespace

MappedFile::MappedFile(int fd, uint64_t size) : size_(size) {
  if (size == 0) return;
  installHandler();
  void* p = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
  if (p == MAP_FAILED) return;
  const auto begin = reinterpret_cast<uintptr_t>(p);
  slot_ = claimSlot(begin, begin + size);
  if (slot_ == kSlots) {  // too many listings at once: this one reads
    ::munmap(p, size);
    return;
  }
  data_ = static_cast<const uint8_t*>(p);
  ::madvise(p, size, MADV_SEQUENTIAL);
}

MappedFile::~MappedFile() {
  if (!data_) return;
  // Out of the handler's sight first, then gone.
  guarded[slot_].end.store(0);
  ::munmap(const_cast<uint8_t*>(data_), size_);
  guarded[slot_].begin.store(0);
}

void MappedFile::touch(uint64_t offset, size_t n) const {
  const volatile uint8_t* p = data_ + offset;
  for (size_t i = 0; i < n; i += pageSize) (void)p[i];
  if (n > 0) (void)p[n - 1];
}

bool MappedFile::lost() const { return guarded[slot_].lost.load(std::memory_order_relaxed); }

void MappedFile::willNeed(uint64_t offset, uint64_t n) const {
  const uint64_t start = offset & ~static_cast<uint64_t>(pageSize - 1);
  ::madvise(const_cast<uint8_t*>(data_) + start, n + (offset - start), MADV_WILLNEED);
}

}  // namespace zel
