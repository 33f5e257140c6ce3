#include <gtest/gtest.h>

#include "store/productrules.h"

namespace zel {
namespace {

TEST(NumberBoxKeys, DigitsBackspaceAndOneComma) {
  EXPECT_EQ(productcard::numberBoxKey("", U'0'), productcard::Key::Accept);
  EXPECT_EQ(productcard::numberBoxKey("12", U'9'), productcard::Key::Accept);
  EXPECT_EQ(productcard::numberBoxKey("12", U'\b'), productcard::Key::Accept);
  EXPECT_EQ(productcard::numberBoxKey("12", U','), productcard::Key::Accept);
  EXPECT_EQ(productcard::numberBoxKey("", U','), productcard::Key::Accept);
  EXPECT_EQ(productcard::numberBoxKey("12,5", U','), productcard::Key::BadCharacter);
  EXPECT_EQ(productcard::numberBoxKey(",", U','), productcard::Key::BadCharacter);
  for (char32_t k : {U'.', U'-', U'+', U'a', U'E', U' ', U'\u00e8', U'\u20ac'})
    EXPECT_EQ(productcard::numberBoxKey("12", k), productcard::Key::BadCharacter) << static_cast<unsigned>(k);
}

TEST(NumberBoxKeys, ValueAboveThirtyMillionStopsEveryKey) {
  // Eight nines are above the limit: the next key, whatever it is, is refused.
  EXPECT_EQ(productcard::numberBoxKey("9999999", U'9'), productcard::Key::Accept);
  EXPECT_EQ(productcard::numberBoxKey("99999999", U'9'), productcard::Key::ValueTooLarge);
  EXPECT_EQ(productcard::numberBoxKey("99999999", U'\b'), productcard::Key::ValueTooLarge);
  EXPECT_EQ(productcard::numberBoxKey("99999999", U'x'), productcard::Key::ValueTooLarge);
  EXPECT_EQ(productcard::numberBoxKey("30000000", U'0'), productcard::Key::Accept) << "the limit itself is allowed";
  EXPECT_EQ(productcard::numberBoxKey("30000000,01", U'0'), productcard::Key::ValueTooLarge);
  EXPECT_EQ(productcard::numberBoxKey(" 30000001 ", U'1'), productcard::Key::ValueTooLarge);
  // A text that is not a number (only a loaded record can hold one) is not
  // checked against the limit, and keys keep their own rules.
  EXPECT_EQ(productcard::numberBoxKey("99999999x", U'1'), productcard::Key::Accept);
  EXPECT_EQ(productcard::numberBoxKey("99999999x", U'x'), productcard::Key::BadCharacter);
}

TEST(NumberBoxKeys, APasteIsJudgedAsTheKeysItStandsFor) {
  using productcard::Key;
  EXPECT_EQ(productcard::pasteKey("1", "1", "2,5"), Key::Accept);
  EXPECT_EQ(productcard::pasteKey("12", "12", "3.1"), Key::BadCharacter);
  EXPECT_EQ(productcard::pasteKey("12", "12", "\x80"), Key::BadCharacter);
  // One comma at most between what the paste keeps and what it brings; a
  // comma in the selection it replaces does not count.
  EXPECT_EQ(productcard::pasteKey("12,5", "12,5", ",7"), Key::BadCharacter);
  EXPECT_EQ(productcard::pasteKey("12,5", "125", ",7"), Key::Accept);
  EXPECT_EQ(productcard::pasteKey("", "", "3,1,"), Key::BadCharacter);
  // The box's value is checked first, as at any key: at the limit the paste
  // goes in, one past it the box is reset whatever the paste holds.
  EXPECT_EQ(productcard::pasteKey("30000000", "30000000", "5"), Key::Accept);
  EXPECT_EQ(productcard::pasteKey("30000001", "", "5"), Key::ValueTooLarge);
  EXPECT_EQ(productcard::pasteKey("30000001", "30000001", "x"), Key::ValueTooLarge);
}

TEST(NumberBoxFormatting, PriceOnLeaving) {
  const std::pair<const char*, const char*> cases[] = {
      {"12", "12,00"},        {"12,5", "12,50"},     {"12,345", "12,345"}, {"12,34567", "12,3457"},
      {"0,5", "0,50"},        {",", "0,00"},         {"", "0,00"},         {"   ", "0,00"},
      {"12,", "12,00"},       {",5", "0,50"},        {"007", "7,00"},      {"12,30", "12,30"},
      {"12,99999", "13,00"},  {"0,00004", "0,00"},   {"0,00005", "0,0001"}, {"abc", "0,00"},
      {"1,2,3", "0,00"},      {"29999999,99", "29999999,99"},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(productcard::priceOnExit(in), want) << '"' << in << '"';
}

TEST(NumberBoxFormatting, RoundsTheDecimalValueAsTyped) {
  // Each of these lies just under its half in binary.
  EXPECT_EQ(productcard::priceOnExit("1,00185"), "1,0019");
  EXPECT_EQ(productcard::priceOnExit("12,00035"), "12,0004");
  EXPECT_EQ(productcard::priceOnExit("0,00015"), "0,0002");
  EXPECT_EQ(productcard::piecesOnExit("99999999999,5"), "100000000000");
  EXPECT_EQ(productcard::piecesOnExit("2,4999999999999"), "2");
}

TEST(NumberBoxFormatting, PiecesOnLeaving) {
  const std::pair<const char*, const char*> cases[] = {
      {"7,5", "8"}, {"7,4", "7"}, {"0,4", "0"}, {"2,5", "3"}, {"", "0"}, {" ", "0"},
      {",", "0"},   {"12", "12"}, {"0012", "12"}, {"x", "0"}, {"1200,0", "1200"},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(productcard::piecesOnExit(in), want) << '"' << in << '"';
}

}  // namespace
}  // namespace zel
