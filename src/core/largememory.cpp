#include "core/largememory.h"

#include <cstdint>
#include <cstring>

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

void* takeLarge(size_t bytes) {
  const size_t length = roundedUp(bytes);
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
  if (block) ::munmap(block, roundedUp(bytes));
}

#else

void* takeLarge(size_t bytes) {
  void* block = ::operator new(roundedUp(bytes), std::align_val_t{kLargePage});
  return std::memset(block, 0, roundedUp(bytes));
}

void giveBackLarge(void* block, size_t) noexcept { ::operator delete(block, std::align_val_t{kLargePage}); }

#endif

}  // namespace zel
