#include "core/largememory.h"

#include <cstdint>
#include <cstring>
#include <iterator>
#include <mutex>
#include <utility>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace zel {
namespace {

size_t roundedUp(size_t bytes) {
  if (bytes > SIZE_MAX - kLargePage) throw std::bad_alloc();
  return (bytes + kLargePage - 1) & ~(kLargePage - 1);
}

}  // namespace

#if defined(__linux__)

namespace {

// Blocks given back wait here for the next listing, up to kKeptAtMost bytes
// in all. A listing writes some 30 MB it has just been given; memory that
// the system hands out after a few idle seconds may come from the host of a
// virtual machine again, which took back what lay free, and then each first
// write waits for it (a listing of 100,000 lines after three idle seconds:
// 47-80 ms instead of 25-37 ms). The blocks kept are marked as free to take
// (MADV_FREE): the system reclaims them when it needs the memory, and a
// block reclaimed comes back as fresh pages.
std::mutex keptGuard;
std::vector<std::pair<void*, size_t>>& kept() {
  // Never destroyed: blocks are given back while the program ends.
  static auto* blocks = new std::vector<std::pair<void*, size_t>>;
  return *blocks;
}
size_t keptBytes = 0;

void* takeKept(size_t length) {
  std::lock_guard<std::mutex> lock(keptGuard);
  // The block given back last first: its pages are the likeliest to be in place.
  auto& blocks = kept();
  for (auto b = blocks.rbegin(); b != blocks.rend(); ++b) {
    if (b->second != length) continue;
    void* block = b->first;
    keptBytes -= length;
    blocks.erase(std::next(b).base());
    return block;
  }
  return nullptr;
}

// Keeps the block (no larger than the limit), letting go of the blocks kept
// longest when all would pass the limit: the listing made last is the
// likeliest to be made again. A block the list of kept blocks has no room
// for is let go itself.
void keep(void* block, size_t length) noexcept {
  std::lock_guard<std::mutex> lock(keptGuard);
  auto& blocks = kept();
  try {
    blocks.emplace_back(block, length);
  } catch (const std::bad_alloc&) {
    ::munmap(block, length);
    return;
  }
  keptBytes += length;
  size_t oldest = 0;
  for (; keptBytes > kKeptAtMost; ++oldest) {
    ::munmap(blocks[oldest].first, blocks[oldest].second);
    keptBytes -= blocks[oldest].second;
  }
  blocks.erase(blocks.begin(), blocks.begin() + static_cast<long>(oldest));
}

}  // namespace

void* takeLarge(size_t bytes) {
  const size_t length = roundedUp(bytes);
  if (void* block = takeKept(length)) return block;
  // The system aligns a mapping to its small pages only: map one large page
  // more and cut off what lies before and after the aligned block.
  const size_t mapped = length + kLargePage;
  void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kLargePage - 1) & ~uintptr_t{kLargePage - 1};
  if (aligned > start) ::munmap(raw, aligned - start);
  const uintptr_t end = start + mapped;
  if (end > aligned + length) ::munmap(reinterpret_cast<void*>(aligned + length), end - aligned - length);
  // Only a hint: where large pages are switched off the block works as well.
  ::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void giveBackLarge(void* block, size_t bytes) noexcept {
  if (!block) return;
  const size_t length = roundedUp(bytes);
  // A block larger than all that is kept goes back at once, unmarked: marking
  // walks every page of it for nothing.
  if (length <= kKeptAtMost && ::madvise(block, length, MADV_FREE) == 0)
    keep(block, length);
  else
    ::munmap(block, length);
}

#else

void* takeLarge(size_t bytes) {
  void* block = ::operator new(roundedUp(bytes), std::align_val_t{kLargePage});
  return std::memset(block, 0, roundedUp(bytes));
}

void giveBackLarge(void* block, size_t) noexcept { ::operator delete(block, std::align_val_t{kLargePage}); }

#endif

}  // namespace zel
