#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/supplyitem.h"
#include "support/records.h"

namespace zel {
namespace {

using test::supplyItem;

Record withImporto(const std::string& importo) { return supplyItem("p", "1", importo, importo); }

TEST(ItemLine, FixedColumns) {
  Record r = supplyItem("Cavo HDMI", "2,5", "12,50", "31,25");
  r[supply::Data] = "01/02/2024";
  r[supply::UM] = "m";
  const Text line = itemLine(r);
  // Column starts: date 0, quantity 14, unit 38, price label 52, price 64,
  // product 82, total label 142, amount 151.
  EXPECT_EQ(line.substr(0, 14), "01/02/2024" + std::string(4, ' '));
  EXPECT_EQ(line.substr(14, 24), "Quant. 2,5" + std::string(14, ' '));
  EXPECT_EQ(line.substr(38, 14), "UM: m" + std::string(9, ' '));
  EXPECT_EQ(line.substr(52, 12), "  Prezzo: \x80 ");
  EXPECT_EQ(line.substr(64, 18), "12,50" + std::string(13, ' '));
  EXPECT_EQ(line.substr(82, 60), "Cavo HDMI" + std::string(51, ' '));
  EXPECT_EQ(line.substr(142, 9), "  Tot. \x80 ");
  EXPECT_EQ(line.substr(151), "31,25");
  EXPECT_EQ(static_cast<unsigned char>(line[62]), 0x80);
  EXPECT_EQ(static_cast<unsigned char>(line[149]), 0x80);
}

TEST(ItemLine, MandatoryFieldsOnlyAndLongTexts) {
  const Text bare = itemLine(supplyItem("X", "1", "0,00", "0,00"));
  EXPECT_EQ(bare.substr(0, 12), std::string(12, ' '));
  EXPECT_EQ(bare.size(), 151u + 4u);

  Record r = supplyItem(std::string(60, 'a') + std::string(20, 'b'), "12345678901234567890", "1", "1,00");
  const Text line = itemLine(r);
  // The product shows only its first 60 characters; the quantity is cut
  // together with its "Quant. " prefix to 23.
  EXPECT_EQ(line.substr(82, 60), std::string(60, 'a'));
  EXPECT_EQ(line.find('b'), std::string::npos);
  EXPECT_EQ(line.substr(14, 23), "Quant. 1234567890123456");
  EXPECT_EQ(line[37], ' ');
  EXPECT_EQ(line.size(), 151u + 4u);  // the columns do not move
}

TEST(ItemLine, FieldsAreTrimmedFirst) {
  Record r = supplyItem("  Vite  ", " 3 ", " 1,00", "3,00 ");
  r[supply::Data] = " 01/02/2024";
  EXPECT_EQ(itemLine(r), itemLine(supplyItem("Vite", "3", "1,00", "3,00")).replace(0, 10, "01/02/2024"));
}

TEST(Pending, OnlyInSospesoInAnyAsciiCase) {
  for (const char* yes : {"In sospeso", "in sospeso", "In Sospeso", "IN SOSPESO ", " in sospeso"})
    EXPECT_TRUE(isPending(supplyItem("p", "1", "1", "1", yes))) << yes;
  for (const char* no : {"Sospeso", "Saldato", "", "In  sospeso", "insospeso"})
    EXPECT_FALSE(isPending(supplyItem("p", "1", "1", "1", no))) << no;
}

TEST(Total, SumIsRoundedAndCompletedOnce) {
  EXPECT_EQ(totalOfAmounts({withImporto("10,10"), withImporto("20,25")}), "30,35");
  EXPECT_EQ(totalOfAmounts({withImporto("5"), withImporto("2,5")}), "7,50");
  EXPECT_EQ(totalOfAmounts({}), "0,00");
  EXPECT_EQ(totalOfAmounts({withImporto("0,00")}), "0,00");
  EXPECT_EQ(totalOfAmounts({withImporto("1,005"), withImporto("1,005")}), "2,01");
  // Amounts with three decimals (typed into a hand-edited file) round as
  // decimals: 0,575 lies under its half in binary.
  EXPECT_EQ(totalOfAmounts({withImporto("0,575")}), "0,58");
  EXPECT_EQ(totalOfAmounts({withImporto("1,005"), withImporto("0,01")}), "1,02");
  EXPECT_EQ(totalOfAmounts({withImporto("1000000"), withImporto("0,1")}), "1000000,10");
  // Ten amounts of 0,10 do not drift to 0,99 or 1,01.
  EXPECT_EQ(totalOfAmounts(std::vector<Record>(10, withImporto("0,10"))), "1,00");
  // An amount that is not a number (a hand-edited file) counts as zero.
  EXPECT_EQ(totalOfAmounts({withImporto("abc"), withImporto("2,50")}), "2,50");
}

TEST(RecordOfLine, TheLastEqualLineWins) {
  const std::vector<Record> items = {supplyItem("A", "1", "1,00", "1,00"), supplyItem("B", "1", "1,00", "1,00"),
                                     supplyItem("A", "1", "1,00", "1,00"), supplyItem("C", "1", "1,00", "1,00")};
  EXPECT_EQ(recordOfLine(items, itemLine(items[0])), 3u);
  EXPECT_EQ(recordOfLine(items, itemLine(items[1])), 2u);
  EXPECT_EQ(recordOfLine(items, "  " + itemLine(items[3]) + "  "), 4u);  // trimmed both sides
  EXPECT_FALSE(recordOfLine(items, "nothing like it").has_value());
  // Case counts.
  EXPECT_FALSE(recordOfLine(items, itemLine(supplyItem("a", "1", "1,00", "1,00"))).has_value());
  EXPECT_FALSE(recordOfLine({}, itemLine(items[0])).has_value());
}

TEST(Pad, ExactWidth) {
  EXPECT_EQ(padTo("ab", 4), "ab  ");
  EXPECT_EQ(padTo("abcdef", 4), "abcd");
  EXPECT_EQ(padTo("", 3), "   ");
}

}  // namespace
}  // namespace zel
