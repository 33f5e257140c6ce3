#include "store/fileview.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <initializer_list>
#include <vector>

namespace zel {
namespace {

// The views open on this thread, innermost first. Read by the bus-error
// handler, which runs on the thread that touched the page.
thread_local FileView* openViews = nullptr;

std::atomic<ViewUse> viewUse{ViewUse::Measured};

struct sigaction previousBusAction;
uintptr_t pageSize = 4096;
constexpr uint64_t kLargePiece = uint64_t{2} << 20;

// File systems on a local disk, where the pages under a view change only
// when this machine changes the file. On a network share the server may
// drop or replace the file at any time, and a read reports that where a
// view would stop at every page: those files are read.
bool localDisk(int fd) {
  struct statfs fs {};
  if (::fstatfs(fd, &fs) != 0) return false;
  for (unsigned long kind : {0xEF53ul /* ext2/3/4 */, 0x9123683Eul /* btrfs */, 0x58465342ul /* xfs */,
                             0x01021994ul /* tmpfs */, 0xF2F52010ul /* f2fs */,
                             0x794C7630ul /* overlay, over one of these */})
    if (static_cast<unsigned long>(fs.f_type) == kind) return true;
  return false;
}

// Maps `span` bytes of the file from `start` (a 2 MiB boundary of the
// file) at an address on a 2 MiB boundary too: a large piece the kernel
// holds is then mapped in one step when first touched, instead of 4 KiB at
// a time. The system aligns a mapping to its small pages only, so room is
// taken with one large piece more and what lies around the view let go.
uint8_t* mapAligned(int fd, uint64_t start, size_t span) {
  void* room = ::mmap(nullptr, span + kLargePiece, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (room == MAP_FAILED) return nullptr;
  const auto from = reinterpret_cast<uintptr_t>(room);
  const uintptr_t at = (from + kLargePiece - 1) & ~uintptr_t{kLargePiece - 1};
  void* map = ::mmap(reinterpret_cast<void*>(at), span, PROT_READ, MAP_SHARED | MAP_FIXED, fd,
                     static_cast<off_t>(start));
  if (map == MAP_FAILED) {
    ::munmap(room, span + kLargePiece);
    return nullptr;
  }
  if (at > from) ::munmap(room, at - from);
  const uintptr_t end = from + span + kLargePiece;
  if (end > at + span) ::munmap(reinterpret_cast<void*>(at + span), end - at - span);
  return static_cast<uint8_t*>(map);
}

void onBusError(int signal, siginfo_t* info, void* context) {
  if (FileView* view = FileView::holding(info->si_addr)) {
    const uintptr_t page = reinterpret_cast<uintptr_t>(info->si_addr) & ~(pageSize - 1);
    // A page of zeros where the file's page was: the touch that faulted
    // completes, and the reader learns from the view that the file stopped.
    if (::mmap(reinterpret_cast<void*>(page), pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1,
               0) != MAP_FAILED) {
      view->markMissing(page);
      return;
    }
  }
  // Not a view's page: whoever handled bus errors before, or the default
  // (the fault repeats on return and ends the process as it always would).
  if ((previousBusAction.sa_flags & SA_SIGINFO) && previousBusAction.sa_sigaction) {
    previousBusAction.sa_sigaction(signal, info, context);
  } else if (previousBusAction.sa_handler != SIG_DFL && previousBusAction.sa_handler != SIG_IGN) {
    previousBusAction.sa_handler(signal);
  } else {
    ::signal(SIGBUS, SIG_DFL);
  }
}

bool installBusHandler() {
  pageSize = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  struct sigaction action {};
  action.sa_sigaction = onBusError;
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  return ::sigaction(SIGBUS, &action, &previousBusAction) == 0;
}

// Whether every page of the `size` bytes at `bytes` is in memory.
bool resident(const uint8_t* bytes, size_t size) {
  const uintptr_t first = reinterpret_cast<uintptr_t>(bytes) & ~(pageSize - 1);
  const size_t pages = (reinterpret_cast<uintptr_t>(bytes) + size - first + pageSize - 1) / pageSize;
  std::vector<unsigned char> in(pages);
  if (::mincore(reinterpret_cast<void*>(first), pages * pageSize, in.data()) != 0) return false;
  return std::all_of(in.begin(), in.end(), [](unsigned char page) { return page & 1; });
}

// A library may have put a bus-error handler of its own in place since:
// then no view is made, as a lost page would end the program.
bool stillGuarded() {
  struct sigaction now {};
  return ::sigaction(SIGBUS, nullptr, &now) == 0 && (now.sa_flags & SA_SIGINFO) && now.sa_sigaction == onBusError;
}

}  // namespace

ViewUse setViewUse(ViewUse use) { return viewUse.exchange(use); }

FileView::FileView(int fd, uint64_t offset, size_t length) {
  static const bool installed = installBusHandler();
  if (!installed || !stillGuarded() || length == 0 || !localDisk(fd)) return;
  const uint64_t start = offset & ~(kLargePiece - 1);
  const size_t span = static_cast<size_t>(offset - start) + length;
  uint8_t* map = mapAligned(fd, start, span);
  if (!map) return;
  map_ = map;
  mapLength_ = span;
  base_ = map_ + (offset - start);
  fileOffset_ = offset;
  outer_ = openViews;
  openViews = this;
}

FileView::~FileView() { release(); }

void FileView::release() {
  if (!map_) return;
  // Views are let go in the order opposite to their making, on one thread.
  openViews = outer_;
  ::munmap(map_, mapLength_);
  map_ = nullptr;
  base_ = nullptr;
}

bool FileView::cheaperThanReading(int fd, std::vector<uint8_t>& buffer) {
  using Clock = std::chrono::steady_clock;
  if (!mapped() || buffer.empty()) return false;
  const ViewUse use = viewUse.load(std::memory_order_relaxed);
  if (use != ViewUse::Measured) {
    if (use == ViewUse::Never) release();
    return mapped();
  }
  // The middle of the view stands for it: the kernel holds the first
  // megabytes of a file read from the disk in small pieces, as its reading
  // ahead starts small, and the records appended since in pages of 4 KiB.
  const size_t length = mapLength_ - static_cast<size_t>(base_ - map_);
  const size_t probe = std::min(length, static_cast<size_t>(kLargePiece));
  // A piece of the file on a 2 MiB boundary (the view's address is on one
  // where the file's is), inside the view.
  size_t from = static_cast<size_t>((reinterpret_cast<uintptr_t>(base_ + length / 2) & ~uintptr_t{kLargePiece - 1}) -
                                    reinterpret_cast<uintptr_t>(base_));
  if (from > length || from + probe > length) from = 0;
  // A file not in memory is read: a view would bring it in a fault at a
  // time, where the reads ahead of a read bring it in large requests.
  if (!resident(base_ + from, probe)) {
    release();
    return false;
  }
  const auto start = Clock::now();
  if (!whole(base_ + from, probe)) return true;  // the file is shorter: the reader will say so
  const auto looked = Clock::now();
  // Plain reads, not readAt: this is a measurement, not a read of the
  // listing's (a test's I/O hook does not count it), and a short file only
  // ends it early.
  for (size_t done = 0; done < probe;) {
    const size_t want = std::min(buffer.size(), probe - done);
    const ssize_t got = ::pread(fd, buffer.data(), want, static_cast<off_t>(fileOffset_ + from + done));
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  const auto read = Clock::now();
  if (2 * (looked - start) < read - looked) return true;
  release();
  return false;
}

bool FileView::whole(const uint8_t* bytes, size_t size) const {
  const uintptr_t first = reinterpret_cast<uintptr_t>(bytes) & ~(pageSize - 1);
  const uintptr_t last = reinterpret_cast<uintptr_t>(bytes + size - 1);
  for (uintptr_t page = first; page <= last; page += pageSize) {
    // The touch brings the page in, or finds it missing (see onBusError).
    const auto* touched = page < reinterpret_cast<uintptr_t>(bytes) ? bytes : reinterpret_cast<const uint8_t*>(page);
    (void)*reinterpret_cast<const volatile uint8_t*>(touched);
  }
  return last < firstMissing_;
}

void FileView::prefetch(const uint8_t* bytes, size_t size, const std::vector<size_t>& offsets) const {
  __builtin_prefetch(bytes);
  for (size_t at : offsets) __builtin_prefetch(bytes + at);
  const uintptr_t last = reinterpret_cast<uintptr_t>(bytes + size - 1);
  for (uintptr_t page = (reinterpret_cast<uintptr_t>(bytes) | (pageSize - 1)) + 1; page <= last; page += pageSize)
    __builtin_prefetch(reinterpret_cast<const void*>(page));
}

bool FileView::intact() const { return firstMissing_ == UINTPTR_MAX; }

FileView* FileView::holding(const void* address) {
  const auto* a = static_cast<const uint8_t*>(address);
  for (FileView* view = openViews; view; view = view->outer_)
    if (a >= view->map_ && a < view->map_ + view->mapLength_) return view;
  return nullptr;
}

void FileView::markMissing(uintptr_t page) {
  if (page < firstMissing_) firstMissing_ = page;
}

}  // namespace zel
