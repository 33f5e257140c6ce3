#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "store/supplysearch.h"
#include "support/records.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// An item that can be saved, with the fields given.
Record itemOf(const std::string& prodotto, std::vector<std::pair<supply::Field, std::string>> values) {
  Record r = test::supplyItem(prodotto);
  for (auto& [field, text] : values) r[field] = text;
  return r;
}

void writeSupply(const fs::path& file, const std::vector<Record>& items) {
  test::writeRecords(file, supplyLayout(), items);
}

// The description column of an item line.
template <class Lines>
std::vector<Text> products(const Lines& lines) {
  std::vector<Text> out;
  for (std::string_view l : lines) out.push_back(trim(l.substr(82, 60)));
  return out;
}

TEST(SupplySearch, CriteriaFoldOnlyAToZAndMustAllMatch) {
  TempFolder dir;
  const fs::path file = dir / "Cantiere.for";
  writeSupply(file, {itemOf("vite", {{supply::Cliente, "Rossi Mario"}, {supply::Luogo, "Citt\xE0 di Castello"},
                                     {supply::Data, "20/12/2025"}}),
                     itemOf("dado", {{supply::Cliente, "ROSSI SRL"}, {supply::Luogo, "CITT\xC0 DI CASTELLO"},
                                     {supply::Data, "05/01/2026"}}),
                     itemOf("chiodo", {{supply::Cliente, "Bianchi"}, {supply::Luogo, "Milano"}})});
  auto search = [&](Criteria c) { return products(searchSupply(file, c)); };
  // Sorted as text: 05/01/2026 before 20/12/2025, the empty date first.
  EXPECT_EQ(search({{supply::Cliente, "rossi"}}), (std::vector<Text>{"dado", "vite"}));
  EXPECT_EQ(search({{supply::Luogo, "citt\xE0"}}), std::vector<Text>{"vite"});
  EXPECT_EQ(search({{supply::Cliente, "rossi"}, {supply::Prodotto, "vite"}}), std::vector<Text>{"vite"});
  EXPECT_EQ(search({{supply::Cliente, "bianchi"}, {supply::Prodotto, "vite"}}), std::vector<Text>{});
  EXPECT_EQ(search({}), (std::vector<Text>{"chiodo", "dado", "vite"}));
}

TEST(PendingPayments, PendingItemsInRecordOrderWithTheirSum) {
  TempFolder dir;
  const fs::path file = dir / "Cantiere.for";
  writeSupply(file, {itemOf("zeta", {{supply::Pagamento, "In sospeso"}, {supply::Importo, "10,10"}}),
                     itemOf("beta", {{supply::Importo, "99,00"}}),
                     itemOf("alfa", {{supply::Pagamento, "in sospeso"}, {supply::Importo, "20,25"}})});
  const supplysheet::ItemList pending = pendingItems(file);
  EXPECT_EQ(products(pending.lines), (std::vector<Text>{"zeta", "alfa"}));
  EXPECT_EQ(pending.total(), "30,35");

  writeSupply(file, {itemOf("beta", {})});
  EXPECT_TRUE(pendingItems(file).lines.empty());
  EXPECT_EQ(pendingItems(file).total(), "0,00");
}

TEST(PendingPayments, AnUnreadableAmountStopsTheList) {
  TempFolder dir;
  const fs::path file = dir / "Cantiere.for";
  writeSupply(file, {itemOf("a", {{supply::Pagamento, "In sospeso"}, {supply::Importo, "5"}}),
                     itemOf("b", {{supply::Pagamento, "In sospeso"}, {supply::Importo, "cinque"}}),
                     itemOf("c", {{supply::Pagamento, "In sospeso"}, {supply::Importo, "2,5"}})});
  const supplysheet::ItemList pending = pendingItems(file);
  EXPECT_EQ(products(pending.lines), (std::vector<Text>{"a", "b"}));
  EXPECT_FALSE(pending.complete);
  EXPECT_EQ(pending.total(), "5");  // the running sum, as the window leaves it
}

// A long scan reports how far it got, up to the number of records, and the
// user's stop ends it with Cancelled: neither a search nor a list (which
// otherwise keeps what it read before a failure) hands back half a result.
TEST(LongScans, ReportTheirProgressAndStopWhenAsked) {
  TempFolder dir;
  const fs::path file = dir / "Lunga.for";
  writeSupply(file, std::vector<Record>(600, itemOf("Vite", {{supply::Pagamento, "In sospeso"}})));

  std::pair<size_t, size_t> last;
  std::atomic<bool> stop{false};
  Progress progress;
  progress.cancel = &stop;
  progress.report = [&](size_t done, size_t total) { last = {done, total}; };
  EXPECT_EQ(searchSupply(file, {}, Access::Update, progress).size(), 600u);
  EXPECT_EQ(last, std::make_pair(size_t{600}, size_t{600}));
  EXPECT_EQ(pendingItems(file, Access::Update, progress).lines.size(), 600u);

  progress.report = [&](size_t done, size_t) {
    if (done >= 256) stop = true;
  };
  EXPECT_THROW(searchSupply(file, {}, Access::Update, progress), Cancelled);
  stop = false;
  EXPECT_THROW(pendingItems(file, Access::Update, progress), Cancelled);
}

}  // namespace
}  // namespace zel
