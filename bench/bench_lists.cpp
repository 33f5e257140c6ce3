// Every search and list window, offscreen, from the click (Trova, or the
// window's showing for the lists built as they appear) to the list painted
// on screen; and find in list walking from the first line to the last of a
// list of every client. Each is set against the raw read of its file and,
// by the report, against the same search through the core, which leaves
// the time the window itself adds.
#include <QListView>

#include "benchui.h"
#include "clients/cercadestinatari.h"
#include "products/cercamateriale.h"
#include "products/cercasottoscorta.h"
#include "products/impmateriali.h"
#include "supplies/cercafornitura.h"
#include "supplies/cercaincompleti.h"
#include "supplies/forniture.h"

namespace zel::bench {
namespace {

void painted(ResultList* results) { results->lstRecords->viewport()->repaint(); }

// The supply sheet with the supply of the archives open, as the list
// windows of a supply find it.
TfrmForniture& sheetWith(const Archives& a) {
  static TfrmForniture* sheet = new TfrmForniture;
  sheet->openSupply(pathToQ(a.supply()), QStringLiteral("Consegne 2026"));
  benchNavigation().set(WindowId::SupplySheet, sheet);
  return *sheet;
}

// Trova with no criterion (every record listed), then the list painted.
template <class Window>
Run searchWindow(Kind kind) {
  return [kind](benchmark::State& state, const Archives& a) {
    setProgramFolder(a.folder());
    if (kind == Kind::Supply) sheetWith(a);
    a.file(kind);  // made before the timing
    Window window;
    window.show();
    settle();
    for (auto _ : state) {
      window.cmdTrovaClick();
      painted(window.results);
      state.PauseTiming();
      if (window.results->count() != static_cast<int>(a.records())) state.SkipWithError("not every record listed");
      window.cmdIndietroClick();
      state.ResumeTiming();
    }
    scans(state, a, kind);
  };
}

// A list built as its window appears, then painted.
template <class Window>
Run listWindow(Kind kind) {
  return [kind](benchmark::State& state, const Archives& a) {
    setProgramFolder(a.folder());
    if (kind == Kind::Supply) sheetWith(a);
    a.file(kind);
    Window window;
    int lines = 0;
    for (auto _ : state) {
      window.show();
      painted(window.results);
      state.PauseTiming();
      lines = window.results->count();
      window.close();
      settle();
      state.ResumeTiming();
    }
    if (lines == 0) state.SkipWithError("empty list");
    state.counters["listed"] = lines;
    scans(state, a, kind);
  };
}

// A key that only the last line holds, looked for from the first line.
void findAtTheEnd(benchmark::State& state, const Archives& a) {
  setProgramFolder(a.folder());
  TfrmCercaDestinatari window;
  window.show();
  window.cmdTrovaClick();
  settle();
  const int last = window.results->count() - 1;
  const QString key = toQ(Text(window.results->lines()[static_cast<size_t>(last)]).substr(9, 8));  // its code
  for (auto _ : state) {
    state.PauseTiming();
    window.results->resetFind();
    window.results->txtTrova->setText(key);
    window.results->selectRow(0);
    state.ResumeTiming();
    window.results->find();
    painted(window.results);
  }
  if (window.results->selectedRow() != last) state.SkipWithError("the last line was not found");
  state.counters["lines"] = last + 1;
}

void registerAll() {
  atEverySize("ClientSearchWindow/all", searchWindow<TfrmCercaDestinatari>(Kind::Clients));
  atEverySize("ProductSearchWindow/all", searchWindow<TfrmCercaMateriale>(Kind::Products));
  atEverySize("UnderStockWindow", listWindow<TfrmCercaSottoscorta>(Kind::Products));
  atEverySize("ProductImportWindow", listWindow<TfrmImpMateriali>(Kind::Products));
  atEverySize("SupplySearchWindow/all", searchWindow<TfrmCercaFornitura>(Kind::Supply));
  atEverySize("PendingWindow", listWindow<TfrmCercaIncompleti>(Kind::Supply));
  atEverySize("FindInList/end", findAtTheEnd);
  registerRawReads({Kind::Clients, Kind::Products, Kind::Supply});
}

}  // namespace
}  // namespace zel::bench

int main(int argc, char** argv) { return zel::bench::runWindowBenchmarks(argc, argv, zel::bench::registerAll); }
