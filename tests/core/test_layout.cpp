#include <gtest/gtest.h>

#include "store/layout.h"

namespace zel {
namespace {

TEST(Layout, RecordSizesMatchTheFileFormats) {
  EXPECT_EQ(clientLayout().recordSize(), 3890u);
  EXPECT_EQ(clientLayout().fieldCount(), 33u);
  EXPECT_EQ(productLayout().recordSize(), 5170u);
  EXPECT_EQ(productLayout().fieldCount(), 25u);
  EXPECT_EQ(supplyLayout().recordSize(), 4106u);
  EXPECT_EQ(supplyLayout().fieldCount(), 23u);
}

}  // namespace
}  // namespace zel
