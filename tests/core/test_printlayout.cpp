#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/printlayout.h"

namespace zel {
namespace {

// At 600 dpi: h(8) = 67 (66.67), h(12) = 100, h(14) = 117 (116.67).
PrintRequest request(size_t entries, int pageHeight) {
  PrintRequest r;
  for (size_t i = 1; i <= entries; ++i) r.entries.push_back("riga " + std::to_string(i));
  r.title = "Anagrafica clienti";
  r.separatorLength = 17;
  r.stamp = "Stampa eseguita in data 05/01/2026 alle ore 09:03:07";
  r.dpi = 600;
  r.pageHeight = pageHeight;
  return r;
}

void expectItem(const PrintItem& item, int y, int points, const std::string& text) {
  EXPECT_EQ(item.x, 150) << text;
  EXPECT_EQ(item.y, y) << text;
  EXPECT_EQ(item.pointSize, points) << text;
  EXPECT_EQ(item.text, text);
}

TEST(PrintLayout, OneEntryOnOnePage) {
  EXPECT_EQ(charHeight(8, 600), 67);
  EXPECT_EQ(charHeight(14, 600), 117);
  const auto pages = layoutPrintedList(request(1, 4800));
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].size(), 6u);
  expectItem(pages[0][0], 234, 14, std::string(17, '-'));
  expectItem(pages[0][1], 334, 12, "Anagrafica clienti");
  expectItem(pages[0][2], 434, 14, std::string(17, '-'));
  expectItem(pages[0][3], 635, 8, "riga 1");  // 434 + 3 × 67
  expectItem(pages[0][4], 819, 8, std::string(20, '_'));  // 635 + 134 + 50
  expectItem(pages[0][5], 919, 8, "Stampa eseguita in data 05/01/2026 alle ore 09:03:07");
}

TEST(PrintLayout, EntriesBreakToPagesWithoutHeader) {
  // Bottom margin: 1200 - 3 × 67 = 999. Entries at 635, 769, 903; 1037 breaks.
  const auto pages = layoutPrintedList(request(5, 1200));
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(pages[0].size(), 6u);
  expectItem(pages[0][5], 903, 8, "riga 3");
  ASSERT_EQ(pages[1].size(), 4u);
  expectItem(pages[1][0], 134, 8, "riga 4");  // 2 × h(8), no header
  expectItem(pages[1][1], 268, 8, "riga 5");
  expectItem(pages[1][2], 452, 8, std::string(20, '_'));
  EXPECT_EQ(pages[1][3].y, 552);
}

TEST(PrintLayout, AnEntryOnTheBottomMarginStartsTheNextPage) {
  // The fourth entry stands at 635 + 3 × 134 = 1037. With a page 3 × h(8)
  // = 201 taller, 1238, it is exactly on the margin and goes over; one unit
  // more and it stays, one unit below the margin.
  struct Case {
    int pageHeight;
    std::pair<size_t, int> fourth;  // page index and y of "riga 4"
  };
  for (const Case& c : {Case{1238, {1, 134}}, Case{1239, {0, 1037}}}) {
    const auto pages = layoutPrintedList(request(4, c.pageHeight));
    std::pair<size_t, int> fourth{pages.size(), 0};
    for (size_t p = 0; p < pages.size(); ++p)
      for (const PrintItem& item : pages[p])
        if (item.text == "riga 4") fourth = {p, item.y};
    EXPECT_EQ(fourth, c.fourth) << "page height " << c.pageHeight;
  }
}

TEST(PrintLayout, ClosingThatWouldFallOffThePageStartsANewOne) {
  // Three entries fit (the last at 903) but the stamp would end at
  // 1037 + 150 + 67 = 1254, past 1200: the closing goes over.
  const auto pages = layoutPrintedList(request(3, 1200));
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].size(), 6u);
  ASSERT_EQ(pages[1].size(), 2u);
  expectItem(pages[1][0], 134 + 50, 8, std::string(20, '_'));
  EXPECT_EQ(pages[1][1].y, 134 + 150);
}

TEST(PrintLayout, TotalBlockAndEmptyList) {
  PrintRequest r = request(1, 4800);
  r.separatorLength = 50;
  r.total = PrintTotal{"TOTALE IMPORTI:  \x80 ", "27,50"};
  const auto pages = layoutPrintedList(r);
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].size(), 8u);
  expectItem(pages[0][4], 769, 14, std::string(50, '-'));
  expectItem(pages[0][5], 869, 12, "TOTALE IMPORTI:  \x80 27,50");
  expectItem(pages[0][6], 969, 14, std::string(50, '-'));
  expectItem(pages[0][7], 1186, 8, r.stamp);  // 969 + 67 + 150

  EXPECT_TRUE(layoutPrintedList(request(0, 4800)).empty());
  EXPECT_THROW(layoutPrintedList(request(1, 0)), std::invalid_argument);
}

TEST(PrintLayout, SupplyTitlesAndStamp) {
  EXPECT_EQ(printVariant(PrintedList::PendingPayments, "  Cantiere Rossi \t").title,
            "Pagamenti in sospeso Cantiere Rossi");
  EXPECT_EQ(printVariant(PrintedList::SupplySearch, " Cantiere ").title, "Cantiere");
  EXPECT_FALSE(printVariant(PrintedList::SupplySheet).taskModal);
  EXPECT_EQ(printStamp({2026, 1, 5, 9, 3, 7}), "Stampa eseguita in data 05/01/2026 alle ore 09:03:07");
}

}  // namespace
}  // namespace zel
