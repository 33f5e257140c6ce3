#pragma once
// Memory for the big buffers of a listing: its lines, their places and the
// keys of their sort, tens of megabytes written once and given back soon.
// Such blocks are taken straight from the system, aligned so that it can
// back them with 2 MiB pages where it offers them. A block of small pages
// costs one trap into the kernel per 4 KiB written for the first time; on a
// virtual machine that trap is dear (5-10 µs each here), and a listing of
// 100,000 lines wrote some 5,600 of them before it had printed a line.
// Given back, such blocks are kept for the next listing (kKeptAtMost).
// Smaller blocks come from the ordinary heap.
#include <cstddef>
#include <new>
#include <utility>

namespace zel {

// From this size on a block is taken from the system.
inline constexpr size_t kLargeBlock = size_t{1} << 20;
// The alignment and the granularity of such a block.
inline constexpr size_t kLargePage = size_t{2} << 20;

// Blocks given back are kept for the next listing up to this many bytes in
// all (the lines, places and sort entries of a listing of 100,000 records
// take some 30 MB); past it, those kept longest go back to the system.
inline constexpr size_t kKeptAtMost = size_t{64} << 20;

// A block of at least `bytes` (>= kLargeBlock), aligned to kLargePage;
// throws std::bad_alloc. Its contents are undefined: a block given back
// before may be handed out again as it was left. `giveBackLarge` returns it.
void* takeLarge(size_t bytes);
void giveBackLarge(void* block, size_t bytes) noexcept;

// An allocator for the containers of a listing: large blocks as above,
// small ones from the heap. Elements made without a value are left as the
// memory holds them (no zeroing of a buffer about to be written over).
template <class T>
struct LargeAllocator {
  using value_type = T;

  LargeAllocator() = default;
  template <class U>
  LargeAllocator(const LargeAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
    const size_t bytes = n * sizeof(T);
    if (bytes >= kLargeBlock) return static_cast<T*>(takeLarge(bytes));
    return static_cast<T*>(::operator new(bytes));
  }
  void deallocate(T* p, size_t n) noexcept {
    const size_t bytes = n * sizeof(T);
    if (bytes >= kLargeBlock)
      giveBackLarge(p, bytes);
    else
      ::operator delete(p);
  }

  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }

  template <class U>
  bool operator==(const LargeAllocator<U>&) const noexcept {
    return true;
  }
  template <class U>
  bool operator!=(const LargeAllocator<U>&) const noexcept {
    return false;
  }
};

}  // namespace zel
