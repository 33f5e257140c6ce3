#include <gtest/gtest.h>

#include <string>

#include "store/productrules.h"

namespace zel {
namespace {

Record product(const std::string& prezzo, const std::string& giacenza, const std::string& soglia) {
  Record r = emptyRecord(productLayout());
  r[product::Codice] = "ART1";
  r[product::Prezzo] = prezzo;
  r[product::Giacenza] = giacenza;
  r[product::Sottoscorta] = soglia;
  return r;
}

TEST(NormaliseProduct, EmptyNumbersGetTheirDefaults) {
  Record r = product("", "  ", "");
  EXPECT_TRUE(normaliseProduct(r));
  EXPECT_EQ(r[product::Prezzo], "0,00");
  EXPECT_EQ(r[product::Giacenza], "0");
  EXPECT_EQ(r[product::Sottoscorta], "0");
  EXPECT_EQ(r[product::Codice], "ART1");
}

TEST(NormaliseProduct, StockAndThresholdAreRoundedToWholePieces) {
  struct Case {
    const char* typed;
    const char* stored;
  };
  for (const Case& c : {Case{"7,5", "8"}, Case{"7,4", "7"}, Case{"0,4", "0"}, Case{"0,5", "1"},
                        Case{" 25 ", "25"}, Case{"1200", "1200"}, Case{"2,4999", "2"},
                        Case{"1E2", "100"}, Case{",", "0"}}) {
    Record r = product("1,00", c.typed, c.typed);
    EXPECT_TRUE(normaliseProduct(r)) << c.typed;
    EXPECT_EQ(r[product::Giacenza], c.stored) << c.typed;
    EXPECT_EQ(r[product::Sottoscorta], c.stored) << c.typed;
  }
}

TEST(NormaliseProduct, ThePriceIsLeftAsTyped) {
  Record r = product("12,5", "3", "3,5");
  EXPECT_TRUE(normaliseProduct(r));
  EXPECT_EQ(r[product::Prezzo], "12,5");  // the card formats the price, not the store
  EXPECT_EQ(r[product::Sottoscorta], "4");
}

TEST(NormaliseProduct, AStockThatIsNotANumberIsRefusedWithoutAnyChange) {
  for (const auto& [stock, threshold] : {std::pair<const char*, const char*>{"tanti", "3,5"},
                                         {"3,5", "1.5"}}) {
    Record r = product("", stock, threshold);
    const Record before = r;
    EXPECT_FALSE(normaliseProduct(r)) << stock << " / " << threshold;
    EXPECT_EQ(r.values, before.values);
  }
}

}  // namespace
}  // namespace zel
