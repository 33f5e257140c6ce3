#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "core/largememory.h"

namespace zel {
namespace {

bool mapped(const void* block, size_t bytes) {
  return ::msync(const_cast<void*>(block), bytes, MS_ASYNC) == 0;
}

// A block is whole, aligned to the large page and zero from the threshold on;
// given back, every page of it leaves the process. One byte under the
// threshold the heap serves it.
TEST(LargeMemory, BlocksFromTheThresholdAreAlignedWholeAndGivenBack) {
  LargeAllocator<char> alloc;
  for (size_t bytes : {kLargeBlock - 1, kLargeBlock, kLargePage + 1}) {
    SCOPED_TRACE(bytes);
    char* block = alloc.allocate(bytes);
    const bool large = bytes >= kLargeBlock;
    const auto at = reinterpret_cast<uintptr_t>(block);
    if (large) {
      EXPECT_EQ(at % kLargePage, 0u);
      const size_t whole = (bytes + kLargePage - 1) / kLargePage * kLargePage;
      EXPECT_TRUE(mapped(block, whole));
      EXPECT_EQ(block[0], 0);
      EXPECT_EQ(block[bytes - 1], 0);
    }
    for (size_t i = 0; i < bytes; ++i) block[i] = static_cast<char>(i * 7);
    size_t wrong = 0;
    for (size_t i = 0; i < bytes; ++i) wrong += block[i] != static_cast<char>(i * 7);
    EXPECT_EQ(wrong, 0u);
    alloc.deallocate(block, bytes);
    if (large) {
      const size_t whole = (bytes + kLargePage - 1) / kLargePage * kLargePage;
      for (size_t page = 0; page < whole; page += 4096) ASSERT_FALSE(mapped(block + page, 4096)) << page;
    }
  }
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
