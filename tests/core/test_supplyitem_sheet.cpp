#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/recordfile.h"
#include "store/supplysheet.h"
#include "support/records.h"
#include "support/tempfolder.h"

namespace zel::supplysheet {
namespace {

using zel::test::supplyItem;
using zel::test::TempFolder;

void writeSupply(const std::filesystem::path& file, const std::vector<Record>& items) {
  test::writeRecords(file, supplyLayout(), items);
}

TEST(SheetNumbers, PriceAndAmountOnExitKeepTwoToFourDecimals) {
  EXPECT_EQ(priceOnExit("7"), "7,00");
  EXPECT_EQ(priceOnExit("0,125"), "0,125");
  EXPECT_EQ(priceOnExit("1,99999"), "2,00");
  EXPECT_EQ(priceOnExit("3,14159"), "3,1416");
  EXPECT_EQ(priceOnExit("12,50"), "12,50");
  EXPECT_EQ(priceOnExit(",5"), "0,50");
  EXPECT_EQ(priceOnExit("12,"), "12,00");
  EXPECT_EQ(priceOnExit(""), "0,00");
  EXPECT_EQ(priceOnExit("   "), "0,00");
  EXPECT_EQ(priceOnExit(","), "0,00");
  EXPECT_EQ(priceOnExit("1.5"), "0,00");  // pasted with a dot: not a number
  EXPECT_EQ(priceOnExit("abc"), "0,00");
}

TEST(SheetNumbers, QuantityOnExitHasNoTrailingZerosAndNeverZero) {
  EXPECT_EQ(quantityOnExit("3"), "3");
  EXPECT_EQ(quantityOnExit("2,50"), "2,5");
  EXPECT_EQ(quantityOnExit("0,12346"), "0,1235");
  EXPECT_EQ(quantityOnExit(",5"), "0,5");
  EXPECT_EQ(quantityOnExit("4,"), "4");
  EXPECT_EQ(quantityOnExit("0"), "1");
  EXPECT_EQ(quantityOnExit("0,00001"), "1");  // rounds to 0
  EXPECT_EQ(quantityOnExit(""), "1");
  EXPECT_EQ(quantityOnExit(","), "1");
  EXPECT_EQ(quantityOnExit("x"), "1");
}

TEST(SheetNumbers, KeyFilterTakesDigitsAndOneComma) {
  EXPECT_EQ(numberKey("", U'5'), NumberKey::Accept);
  EXPECT_EQ(numberKey("", U','), NumberKey::Accept);
  EXPECT_EQ(numberKey("12", U','), NumberKey::Accept);
  EXPECT_EQ(numberKey("12,5", U','), NumberKey::Discard);
  EXPECT_EQ(numberKey("12", U'a'), NumberKey::Discard);
  EXPECT_EQ(numberKey("12", U'.'), NumberKey::Discard);
  EXPECT_EQ(numberKey("12", U'-'), NumberKey::Discard);
  EXPECT_EQ(numberKey("12", U'\u00e8'), NumberKey::Discard);
}

TEST(SheetNumbers, KeyFilterResetsAboveThirtyMillionOrOnGarbage) {
  // The value before the key decides: 30 000 000 still takes one more digit.
  EXPECT_EQ(numberKey("30000000", U'9'), NumberKey::Accept);
  EXPECT_EQ(numberKey("300000009", U'1'), NumberKey::Reset);
  EXPECT_EQ(numberKey("30000000,01", U'1'), NumberKey::Reset);
  // Any key resets, even one that would otherwise be discarded.
  EXPECT_EQ(numberKey("300000009", U'x'), NumberKey::Reset);
  EXPECT_EQ(numberKey("abc", U'1'), NumberKey::Reset);  // pasted text
  EXPECT_EQ(numberKey("  ", U'1'), NumberKey::Accept);  // blank is not read
}

TEST(SheetCalculate, AmountIsQuantityTimesPriceRoundedAndCompleted) {
  Calculation c = calculate("3", "2,333", "999");
  EXPECT_TRUE(c.valid);
  EXPECT_EQ(c.amount, "7,00");
  EXPECT_EQ(c.quantity, "3");
  EXPECT_EQ(c.price, "2,333");

  EXPECT_EQ(calculate("100", "0,05", "0,00").amount, "5,00");
  EXPECT_EQ(calculate("2,5", "12,5", "").amount, "31,25");
  EXPECT_EQ(calculate("1", "0,125", "").amount, "0,13");  // halves go up
  EXPECT_EQ(calculate("3", "0,1", "").amount, "0,30");    // 0,30000000000000004 in binary
}

// Values that a binary double cannot hold exactly (0,575 is 0,57499999...):
// the halves must still go up.
TEST(SheetCalculate, RoundsTheExactDecimalProduct) {
  EXPECT_EQ(calculate("1", "0,575", "").amount, "0,58");
  EXPECT_EQ(calculate("1", "1,015", "").amount, "1,02");
  EXPECT_EQ(calculate("3", "0,335", "").amount, "1,01");
  EXPECT_EQ(calculate("0,5", "2,03", "").amount, "1,02");  // 1,015 exactly
  EXPECT_EQ(priceOnExit("2,00065"), "2,0007");
  EXPECT_EQ(quantityOnExit("8,00185"), "8,0019");
}

TEST(SheetCalculate, BlankBoxesTakeTheirDefaults) {
  const Calculation c = calculate("", " ", "");
  EXPECT_TRUE(c.valid);
  EXPECT_EQ(c.quantity, "1");
  EXPECT_EQ(c.price, "0,00");
  EXPECT_EQ(c.amount, "0,00");
  EXPECT_EQ(calculate("  ", "4,5", "").amount, "4,50");
}

TEST(SheetCalculate, UnreadableValuesResetAllThree) {
  for (const auto& [q, p] : std::vector<std::pair<std::string, std::string>>{{"x", "1"}, {"2", "1.5"}}) {
    SCOPED_TRACE(q + " x " + p);
    const Calculation c = calculate(q, p, "77");
    EXPECT_FALSE(c.valid);
    EXPECT_FALSE(c.tooLarge);
    EXPECT_EQ(c.quantity, "1");
    EXPECT_EQ(c.price, "0,00");
    EXPECT_EQ(c.amount, "0,00");
  }
}

TEST(SheetCalculate, AnAmountTooLongForItsFieldIsRefusedKeepingTheTexts) {
  for (const auto& [q, p] : std::vector<std::pair<std::string, std::string>>{
           {"1E300", "1E300"}, {"12345678,9", "1234567,89"}, {"300000009", "300000009"}}) {
    SCOPED_TRACE(q + " x " + p);
    const Calculation c = calculate(q, p, "77");
    EXPECT_FALSE(c.valid);
    EXPECT_TRUE(c.tooLarge);
    EXPECT_EQ(c.quantity, q);
    EXPECT_EQ(c.price, p);
    EXPECT_EQ(c.amount, "77");
  }
  // The largest amount that still fits its sixteen characters.
  const Calculation fits = calculate("1234567890123,45", "1", "");
  EXPECT_TRUE(fits.valid);
  EXPECT_EQ(fits.amount, "1234567890123,45");
  // So large that it needs an exponent: short enough, and it reads back.
  const Calculation huge = calculate("100000000", "200000000", "");
  EXPECT_TRUE(huge.valid);
  EXPECT_EQ(huge.amount, "2,00E+16");
}

TEST(SheetNumbers, OnlyWhatTheKeysCouldWriteCanBePasted) {
  for (const char* ok : {"", "0", "12", "12,5", ",", ",5", "30000000"})
    EXPECT_TRUE(acceptsEdit("1", ok)) << ok;
  for (const char* bad : {"-2", "+2", "1,2,3", "1.5", " 2", "1E3", "2x", "\x80"})
    EXPECT_FALSE(acceptsEdit("1", bad)) << bad;
  // A loaded text the keys could not write can still be shortened...
  EXPECT_TRUE(acceptsEdit("-2", "-"));
  EXPECT_TRUE(acceptsEdit("1E3", "13"));
  // ...but not lengthened or replaced by another such text.
  EXPECT_FALSE(acceptsEdit("-2", "-25"));
  EXPECT_FALSE(acceptsEdit("12345", "-"));
  EXPECT_TRUE(acceptsEdit("-2", "-2"));  // nothing changed
}

TEST(SheetTotals, CompletionKeepsExponentFormsReadable) {
  EXPECT_EQ(completeAmount("7"), "7,00");
  EXPECT_EQ(completeAmount("12,5"), "12,50");
  EXPECT_EQ(completeAmount("9E+16"), "9,00E+16");
  EXPECT_EQ(totalText(*parseDecimal("30,35")), "30,35");
  EXPECT_EQ(totalText(Decimal()), "0,00");
}

TEST(SheetList, LinesInRecordOrderAndTheTotal) {
  TempFolder dir;
  const auto file = dir / "Rossi.for";
  const Record first = supplyItem("Vite", "1", "10,10", "10,10");
  const Record second = supplyItem("Dado", "1", "20,25", "20,25");
  writeSupply(file, {first, second});
  const ItemList list = listItems(file);
  EXPECT_TRUE(list.complete);
  EXPECT_EQ(list.lines.toVector(), std::vector<Text>({itemLine(first), itemLine(second)}));
  EXPECT_EQ(list.total(), "30,35");

  writeSupply(file, {supplyItem("a", "1", "5", "5"), supplyItem("b", "1", "2,5", "2,5")});
  EXPECT_EQ(listItems(file).total(), "7,50");
}

TEST(SheetList, EmptyAndMissingFilesGiveZero) {
  TempFolder dir;
  const auto empty = dir / "Vuota.for";
  writeSupply(empty, {});
  EXPECT_TRUE(listItems(empty).lines.empty());
  EXPECT_EQ(listItems(empty).total(), "0,00");
  // A supply file that disappeared is created empty, as every opening does.
  const auto gone = dir / "Sparita.for";
  EXPECT_EQ(listItems(gone).total(), "0,00");
  EXPECT_TRUE(std::filesystem::exists(gone));
  EXPECT_EQ(std::filesystem::file_size(gone), 0u);
}

TEST(SheetList, AnUnreadableAmountStopsTheListWithTheRunningSum) {
  TempFolder dir;
  const auto file = dir / "Guasta.for";
  writeSupply(file,
              {supplyItem("a", "1", "1,5", "1,5"), supplyItem("b", "1", "2", "due"), supplyItem("c", "1", "4", "4,00")});
  const ItemList list = listItems(file);
  EXPECT_FALSE(list.complete);
  ASSERT_EQ(list.lines.size(), 2u);  // the failing item's line was already added
  EXPECT_EQ(list.total(), "1,5");    // running sum in general form, not completed
}

TEST(SheetList, AFileThatCannotBeOpenedGivesAnEmptyIncompleteList) {
  TempFolder dir;
  const auto folder = dir / "Cartella.for";
  std::filesystem::create_directory(folder);
  const ItemList list = listItems(folder);
  EXPECT_FALSE(list.complete);
  EXPECT_TRUE(list.lines.empty());
  EXPECT_EQ(list.total(), "0");
}

TEST(SheetList, ALineLeadsBackToTheLastEqualRecord) {
  TempFolder dir;
  const auto file = dir / "Doppia.for";
  const Record same = supplyItem("Tubo", "2", "3,00", "6,00");
  Record laterSame = same;
  laterSame[supply::Cliente] = "Bianchi";  // not in the line
  writeSupply(file, {same, supplyItem("Vite", "1", "1,00", "1,00"), laterSame});

  const ItemList list = listItems(file);
  ASSERT_EQ(list.lines.size(), 3u);
  auto found = findRecordOfLine(file, list.lines[0]);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->number, 3u);
  EXPECT_EQ(found->record[supply::Cliente], "Bianchi");
  found = findRecordOfLine(file, "  " + Text(list.lines[1]) + " ");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->number, 2u);

  EXPECT_FALSE(findRecordOfLine(file, "nessuna riga").has_value());
  EXPECT_THROW(findRecordOfLine(dir.path(), list.lines[0]), StoreError);
}

}  // namespace
}  // namespace zel::supplysheet
