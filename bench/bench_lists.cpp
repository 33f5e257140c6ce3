// Every search and list window, offscreen, from the click (Trova, or the
// window's showing for the lists built as they appear) to the list painted
// on screen; and find in list walking from the first line to the last of a
// list of every client. Each is set against the raw read of its file and,
// by the report, against the same search through the core, which leaves
// the time the window itself adds.
#include <QLineEdit>
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

// The window's list painted as it stands (the list is found by its name,
// as the user finds it on screen).
void painted(QWidget& window) { window.findChild<QListView*>(QStringLiteral("lstRecords"))->viewport()->repaint(); }

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
      painted(window);
      state.PauseTiming();
      if (window.resultList().count() != static_cast<int>(a.records())) state.SkipWithError("not every record listed");
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
      painted(window);
      state.PauseTiming();
      lines = window.resultList().count();
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
  const int last = window.resultList().count() - 1;
  const QString key = toQ(Text(window.resultList().lines()[static_cast<size_t>(last)]).substr(9, 8));  // its code
  for (auto _ : state) {
    state.PauseTiming();
    window.resultList().resetFind();
    window.findChild<QLineEdit*>(QStringLiteral("txtTrova"))->setText(key);
    window.resultList().selectRow(0);
    state.ResumeTiming();
    window.resultList().find();
    painted(window);
  }
  if (window.resultList().selectedRow() != last) state.SkipWithError("the last line was not found");
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
