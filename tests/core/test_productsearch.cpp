#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "store/productsearch.h"
#include "support/records.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

Record productOf(std::initializer_list<std::pair<size_t, Text>> fields) {
  return test::recordOf(productLayout(), fields);
}

Record stocked(const std::string& code, const std::string& stock, const std::string& threshold) {
  return productOf({{product::Codice, code}, {product::Giacenza, stock}, {product::Sottoscorta, threshold}});
}

void writeProducts(const fs::path& file, const std::vector<Record>& products) {
  test::writeRecords(file, productLayout(), products);
}

TEST(ProductSearch, SearchLineCutsEachColumn) {
  const Record p = productOf({{product::Codice, std::string(35, 'C')},
                              {product::Tipologia, "Ferramenta"},
                              {product::Marca, "Fischer Italia S.r.l."},  // 21 + 1 + 8 of the model
                              {product::Modello, "Duopower 6x30"},
                              {product::Prezzo, "12,50"},
                              {product::Giacenza, "1200"},
                              {product::Note, "  scaffale 3  "}});
  const Text line = productSearchLine(p);
  const Text expected = std::string(30, 'C') + "  " + "Ferramenta               " + "  " +
                        "Fischer Italia S.r.l. Duopower" + "  Prezzo: " + "12,50          " +
                        "  Giacenza: " + "1200      " + "  " + "scaffale 3";
  EXPECT_EQ(line, expected);
  EXPECT_EQ(line.size(), 138u + 10u);
  // A brand of 30 or more fills the column alone.
  EXPECT_EQ(productSearchLine(productOf({{product::Marca, std::string(31, 'M')}, {product::Modello, "X"}}))
                .substr(59, 30),
            std::string(30, 'M'));
}

TEST(ProductSearch, EveryBoxInUseMustMatch) {
  TempFolder dir;
  const fs::path file = dir / "Materiali.pro";
  writeProducts(file, {productOf({{product::Codice, "xABCx"}, {product::Marca, "XyZ"}}),
                       productOf({{product::Codice, "abc"}, {product::Marca, "other"}}),
                       productOf({{product::Codice, "zzz"}, {product::Marca, "xyz"}})});
  auto count = [&](Criteria c) { return searchProducts(file, c).size(); };
  EXPECT_EQ(count({{product::Codice, "ABC"}, {product::Marca, "xyz"}}), 1u);
  EXPECT_EQ(count({{product::Codice, "abc"}, {product::Marca, " "}}), 2u);
  EXPECT_EQ(count({}), 3u);
}

TEST(UnderStock, AtOrBelowTheThresholdAndANonNumberEndsTheListing) {
  TempFolder dir;
  const fs::path file = dir / "Materiali.pro";
  writeProducts(file, {stocked("A", "5", "5"), stocked("B", "6", "5"), stocked("C", "0", "0"),
                       stocked("D", "7,5", "8"), stocked("E", "tre", "5"), stocked("F", "1", "5")});
  const PartialListing list = underStockList(file);
  EXPECT_EQ(list.lines.toVector(), (std::vector<Text>{"Cod. A -   - Fornitore:  - Recapito:  - Costo:  - Giacenza: 5",
                                           "Cod. C -   - Fornitore:  - Recapito:  - Costo:  - Giacenza: 0",
                                           "Cod. D -   - Fornitore:  - Recapito:  - Costo:  - Giacenza: 7,5"}));
  EXPECT_FALSE(list.complete());  // F, after the bad record, is never reached
  EXPECT_NE(list.problem.find("record 5"), Text::npos);
}

TEST(ImportList, ListsStockedProductsAndPicksTheLastEqualLine) {
  TempFolder dir;
  const fs::path file = dir / "Materiali.pro";
  Record first = stocked("V1", "10", "2");
  first[product::Descrizione] = "prima";
  Record second = first;
  second[product::Descrizione] = "seconda";
  writeProducts(file, {first, stocked("V2", "", "0"), second, stocked("V3", "4", "2")});
  const PartialListing list = importList(file);
  ASSERT_TRUE(list.complete());
  ASSERT_EQ(list.lines.size(), 3u);  // V2 has no stock
  EXPECT_EQ(list.lines[0], list.lines[1]);
  const auto picked = pickByStockLine(file, list.lines[0]);
  ASSERT_TRUE(picked);
  EXPECT_EQ(picked->number, 3u);
  EXPECT_EQ(picked->record[product::Descrizione], "seconda");

  const auto found = pickProduct(file, searchProducts(file, {{product::Codice, "v3"}})[0]);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->number, 4u);
}

// The stock lists keep quiet about a record they cannot read, but not about
// the user's stop.
TEST(StockLists, AStopIsNotTakenForAnIncompleteList) {
  TempFolder dir;
  const fs::path file = dir / "Materiali.pro";
  writeProducts(file, std::vector<Record>(300, stocked("A", "1", "5")));
  std::atomic<bool> stop{true};
  Progress progress;
  progress.cancel = &stop;
  EXPECT_THROW(underStockList(file, Access::Update, progress), Cancelled);
  EXPECT_THROW(importList(file, Access::Update, progress), Cancelled);
}

}  // namespace
}  // namespace zel
