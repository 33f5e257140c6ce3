// Every search and list through the core, at every size, each beside the raw
// read of its file in the same run: the client, product and supply
// searches (with no criterion, so every record is listed, and with a
// typical criterion), the under-stock list, the product import's list, the
// supply sheet's item list with its total, the pending payments, and the
// pick that finds a chosen line's record again (a full pass as well).
#include "benchdata.h"
#include "store/clientsearch.h"
#include "store/productsearch.h"
#include "store/supplysearch.h"

namespace zel::bench {
namespace {

template <class List>
void listed(benchmark::State& state, const List& lines) {
  state.counters["listed"] = static_cast<double>(lines.size());
}

Run clientSearch(Criteria criteria) {
  return [criteria](benchmark::State& state, const Archives& a) {
    TextList lines;
    for (auto _ : state) lines = searchClients(a.clients(), criteria);
    listed(state, lines);
    scans(state, a, Kind::Clients);
  };
}

Run productSearch(Criteria criteria) {
  return [criteria](benchmark::State& state, const Archives& a) {
    TextList lines;
    for (auto _ : state) lines = searchProducts(a.products(), criteria);
    listed(state, lines);
    scans(state, a, Kind::Products);
  };
}

Run supplySearch(Criteria criteria) {
  return [criteria](benchmark::State& state, const Archives& a) {
    TextList lines;
    for (auto _ : state) lines = searchSupply(a.supply(), criteria);
    listed(state, lines);
    scans(state, a, Kind::Supply);
  };
}

void underStock(benchmark::State& state, const Archives& a) {
  PartialListing list;
  for (auto _ : state) list = underStockList(a.products());
  if (!list.complete()) state.SkipWithError("listing stopped");
  listed(state, list.lines);
  scans(state, a, Kind::Products);
}

void productImport(benchmark::State& state, const Archives& a) {
  PartialListing list;
  for (auto _ : state) list = importList(a.products());
  if (!list.complete()) state.SkipWithError("listing stopped");
  listed(state, list.lines);
  scans(state, a, Kind::Products);
}

void itemList(benchmark::State& state, const Archives& a) {
  supplysheet::ItemList list;
  for (auto _ : state) {
    list = supplysheet::listItems(a.supply());
    benchmark::DoNotOptimize(list.total());
  }
  if (!list.complete) state.SkipWithError("listing stopped");
  listed(state, list.lines);
  scans(state, a, Kind::Supply);
}

void pending(benchmark::State& state, const Archives& a) {
  supplysheet::ItemList list;
  for (auto _ : state) {
    list = pendingItems(a.supply());
    benchmark::DoNotOptimize(list.total());
  }
  if (!list.complete) state.SkipWithError("listing stopped");
  listed(state, list.lines);
  scans(state, a, Kind::Supply);
}

// The double click on the last line of an unsorted list: every record is
// read and its line built again.
void pickClientLine(benchmark::State& state, const Archives& a) {
  const Text line = clientLine(client(a.records()));
  for (auto _ : state) {
    const auto found = pickClient(a.clients(), line);
    if (!found) state.SkipWithError("not found");
  }
  scans(state, a, Kind::Clients);
}

void pickItemLine(benchmark::State& state, const Archives& a) {
  const Text line = itemLine(supplyItem(a.records()));
  for (auto _ : state) {
    const auto found = supplysheet::findRecordOfLine(a.supply(), line);
    if (!found) state.SkipWithError("not found");
  }
  scans(state, a, Kind::Supply);
}

void registerAll() {
  atEverySize("ClientSearch/all", clientSearch({}));
  atEverySize("ClientSearch/persona", clientSearch({{client::Persona, "ross"}}));
  atEverySize("ClientSearch/two-criteria", clientSearch({{client::Persona, "a"}, {client::Citta, "(mi)"}}));
  atEverySize("ClientPick/last", pickClientLine);
  atEverySize("ProductSearch/all", productSearch({}));
  atEverySize("ProductSearch/descrizione", productSearch({{product::Descrizione, "vite"}}));
  atEverySize("UnderStockList", underStock);
  atEverySize("ProductImportList", productImport);
  atEverySize("SupplySearch/all", supplySearch({}));
  atEverySize("SupplySearch/cliente", supplySearch({{supply::Cliente, "rossi"}}));
  atEverySize("SupplyItemList", itemList);
  atEverySize("PendingList", pending);
  atEverySize("SupplyPick/last", pickItemLine);
  registerRawReads({Kind::Clients, Kind::Products, Kind::Supply});
}

}  // namespace
}  // namespace zel::bench

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv, zel::bench::registerAll); }
