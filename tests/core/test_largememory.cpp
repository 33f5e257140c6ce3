#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "core/largememory.h"

namespace zel {
namespace {

bool mapped(const void* block, size_t bytes) {
  return ::msync(const_cast<void*>(block), bytes, MS_ASYNC) == 0;
}

// A block is whole and aligned to the large page from the threshold on; one
// byte under the threshold the heap serves it.
TEST(LargeMemory, BlocksFromTheThresholdAreAlignedAndWhole) {
  LargeAllocator<char> alloc;
  for (size_t bytes : {kLargeBlock - 1, kLargeBlock, kLargePage + 1}) {
    SCOPED_TRACE(bytes);
    char* block = alloc.allocate(bytes);
    if (bytes >= kLargeBlock) {
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % kLargePage, 0u);
      EXPECT_TRUE(mapped(block, (bytes + kLargePage - 1) / kLargePage * kLargePage));
    }
    for (size_t i = 0; i < bytes; ++i) block[i] = static_cast<char>(i * 7);
    size_t wrong = 0;
    for (size_t i = 0; i < bytes; ++i) wrong += block[i] != static_cast<char>(i * 7);
    EXPECT_EQ(wrong, 0u);
    alloc.deallocate(block, bytes);
  }
}

// A block given back is handed out again for the next block of its size;
// when all kept would pass kKeptAtMost, the blocks kept longest leave the
// process, and a block larger than the limit leaves at once.
TEST(LargeMemory, BlocksGivenBackAreKeptUpToTheLimitAndTakenAgain) {
  LargeAllocator<char> alloc;
  const size_t size = 3 * kLargePage;
  char* first = alloc.allocate(size);
  first[0] = 1;
  alloc.deallocate(first, size);
  char* again = alloc.allocate(size);
  EXPECT_EQ(again, first);
  again[size - 1] = 2;  // whole and writable again
  alloc.deallocate(again, size);

  std::vector<char*> blocks;
  for (size_t held = 0; held <= kKeptAtMost + size; held += size) blocks.push_back(alloc.allocate(size));
  for (char* b : blocks) alloc.deallocate(b, size);
  size_t stillMapped = 0;
  for (char* b : blocks) stillMapped += mapped(b, size);
  EXPECT_LE(stillMapped * size, kKeptAtMost);
  EXPECT_FALSE(mapped(blocks.front(), size));
  EXPECT_TRUE(mapped(blocks.back(), size));
  const size_t tooLarge = kKeptAtMost + kLargePage;
  char* huge = alloc.allocate(tooLarge);
  alloc.deallocate(huge, tooLarge);
  EXPECT_FALSE(mapped(huge, tooLarge));
  EXPECT_TRUE(mapped(blocks.back(), size)) << "the blocks kept stay";
  // Taken again, the kept blocks are ordinary blocks, each a block of its own.
  std::vector<char*> taken;
  for (size_t i = 0; i < stillMapped; ++i) {
    char* b = alloc.allocate(size);
    EXPECT_TRUE(mapped(b, size));
    std::fill(b, b + size, static_cast<char>('a' + i));
    taken.push_back(b);
  }
  for (size_t i = 0; i < taken.size(); ++i) EXPECT_EQ(taken[i][size / 2], static_cast<char>('a' + i));
  for (char* b : taken) alloc.deallocate(b, size);
}

// A vector that grows from the heap into large blocks and shrinks back keeps
// its elements.
TEST(LargeMemory, AVectorGrowsAcrossTheThresholdWithItsElements) {
  std::vector<uint32_t, LargeAllocator<uint32_t>> v;
  const size_t n = 3 * kLargePage / sizeof(uint32_t) + 5;
  for (size_t i = 0; i < n; ++i) v.push_back(static_cast<uint32_t>(i * 2654435761u));
  v.resize(10);
  v.shrink_to_fit();
  v.resize(n);  // made again without values: written over below
  for (size_t i = 10; i < n; ++i) v[i] = static_cast<uint32_t>(i * 2654435761u);
  size_t wrong = 0;
  for (size_t i = 0; i < n; ++i) wrong += v[i] != static_cast<uint32_t>(i * 2654435761u);
  EXPECT_EQ(wrong, 0u);
}

}  // namespace
}  // namespace zel
