#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "store/productrules.h"
#include "store/stockupdate.h"
#include "support/files.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::putField;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

constexpr size_t kSize = 5170;
const size_t kStockAt = productLayout().offset(product::Giacenza);  // 2879, 16 bytes

// Three products laid out by hand, every unused byte 0xAB, so that any byte
// the update rewrote besides the stock would show.
fs::path archiveWithStock(const TempFolder& dir, const std::string& stock) {
  std::vector<uint8_t> bytes(3 * kSize, 0xAB);
  for (size_t r = 0; r < 3; ++r) {
    const size_t base = r * kSize;
    putField(bytes, base + productLayout().offset(product::Codice), "P" + std::to_string(r + 1));
    putField(bytes, base + productLayout().offset(product::Descrizione), "Vite M6");
    putField(bytes, base + kStockAt, stock);
  }
  const fs::path file = dir / "Materiali.pro";
  writeBytes(file, bytes);
  return file;
}

// Every byte but record 2's stock field is as before.
void expectOnlyStockOfRecord2Changed(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
  ASSERT_EQ(before.size(), after.size());
  const size_t from = kSize + kStockAt, to = from + 16;
  for (size_t i = 0; i < before.size(); ++i) {
    if (i < from || i >= to) {
      ASSERT_EQ(before[i], after[i]) << "byte " << i;
    }
  }
}

std::string storedStock(const std::vector<uint8_t>& bytes) {
  const uint8_t* p = bytes.data() + kSize + kStockAt;
  return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

TEST(StockUpdate, TakesTheQuantityOffAndRewritesOnlyTheStock) {
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"10", "4", "6"}, {"3", "3", "0"}, {"10", "2,5", "7,5"}, {"7,5", "0,25", "7,25"}};
  for (const auto& [stock, quantity, left] : cases) {
    TempFolder dir;
    const fs::path file = archiveWithStock(dir, stock);
    const auto before = readBytes(file);
    const StockUpdate u = takeFromStock(file, 2, quantity);
    EXPECT_EQ(u.outcome, StockUpdate::Outcome::Done);
    EXPECT_EQ(u.stock, left);
    EXPECT_EQ(u.product[product::Descrizione], "Vite M6");
    const auto after = readBytes(file);
    expectOnlyStockOfRecord2Changed(before, after);
    EXPECT_EQ(storedStock(after), left) << stock << " - " << quantity;
  }
}

TEST(StockUpdate, AQuantityAboveTheStockIsRefusedAndChangesNothing) {
  TempFolder dir;
  const fs::path file = archiveWithStock(dir, "3");
  const auto before = readBytes(file);
  const StockUpdate u = takeFromStock(file, 2, "5");
  EXPECT_EQ(u.outcome, StockUpdate::Outcome::QuantityAboveStock);
  EXPECT_EQ(u.stock, "3");
  EXPECT_EQ(readBytes(file), before);
}

TEST(StockUpdate, AFailureAtAnyStepLeavesTheFileAsItWas) {
  TempFolder dir;
  const fs::path file = archiveWithStock(dir, "10");
  const auto before = readBytes(file);
  for (StockStep failAt : {StockStep::Open, StockStep::Read, StockStep::Write, StockStep::Close}) {
    EXPECT_THROW(takeFromStock(file, 2, "4",
                               [&](StockStep s) {
                                 if (s == failAt) throw StoreError("injected");
                               }),
                 StoreError);
    EXPECT_EQ(readBytes(file), before) << static_cast<int>(failAt);
  }
  EXPECT_THROW(takeFromStock(file, 4, "1"), StoreError);       // no such record
  EXPECT_THROW(takeFromStock(file, 2, "due"), StoreError);     // not a number
  EXPECT_THROW(takeFromStock(file, 2, "-3"), StoreError);      // would add to the stock
  EXPECT_EQ(readBytes(file), before);

  const fs::path odd = archiveWithStock(dir, "molti");
  const auto oddBefore = readBytes(odd);
  EXPECT_THROW(takeFromStock(odd, 2, "1"), StoreError);
  EXPECT_EQ(readBytes(odd), oddBefore);
}

TEST(ImportQuantity, TakesDigitsAndOneCommaAndIsFormattedOnLeaving) {
  EXPECT_TRUE(importQuantityKey("12", U'7'));
  EXPECT_TRUE(importQuantityKey("12", U','));
  EXPECT_FALSE(importQuantityKey("1,2", U','));
  EXPECT_FALSE(importQuantityKey("", U'a'));
  EXPECT_FALSE(importQuantityKey("", U'-'));
  EXPECT_FALSE(importQuantityKey("", U'.'));
  // No upper limit, unlike the card's number boxes.
  EXPECT_TRUE(importQuantityKey("999999999", U'9'));

  EXPECT_EQ(importQuantityOnExit("2,50"), "2,5");
  EXPECT_EQ(importQuantityOnExit("3"), "3");
  EXPECT_EQ(importQuantityOnExit("1,234567"), "1,2346");
  EXPECT_EQ(importQuantityOnExit("  "), "0");
  EXPECT_EQ(importQuantityOnExit(","), "0");
  EXPECT_EQ(importQuantityOnExit("2.5"), "0");
}

}  // namespace
}  // namespace zel
