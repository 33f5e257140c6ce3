// The supply sheet, offscreen, with a supply of every size and of 20,000
// items (the size its opening is held to): opening it (the item list and
// the total read from the file, the list painted), saving a new item
// (append, list and total reloaded), saving the item on screen again
// (overwrite, reloaded), a click on a line near the end (its record found
// again), and a navigation step.
#include <QListView>
#include <QTest>

#include <algorithm>

#include "benchui.h"
#include "supplies/forniture.h"

namespace zel::bench {
namespace {

constexpr size_t kSheetTarget = 20000;  // the supply the sheet must open at once

std::vector<size_t> sheetSizes() {
  std::vector<size_t> at = sizes();
  if (std::find(at.begin(), at.end(), kSheetTarget) == at.end() && at.back() >= kSheetTarget) {
    at.push_back(kSheetTarget);
    std::sort(at.begin(), at.end());
  }
  return at;
}

struct Sheet {
  TfrmForniture window;

  explicit Sheet(const Archives& a) {
    setProgramFolder(a.folder());
    window.openSupply(pathToQ(a.supply()), QStringLiteral("Consegne 2026"));
    window.resize(1280, 800);
    benchNavigation().set(WindowId::SupplySheet, &window);
  }
  ~Sheet() { benchNavigation().set(WindowId::SupplySheet, nullptr); }
  // A control of the sheet, found by its name as the user finds it on screen.
  template <class T = QWidget>
  T* control(const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
  }
  QAbstractItemView* list() { return control<QAbstractItemView>("lstStudenti"); }
  void painted() { list()->viewport()->repaint(); }
  void expectCount(benchmark::State& state, size_t n) {
    if (static_cast<size_t>(list()->model()->rowCount()) != n) state.SkipWithError("wrong number of lines");
  }
};

// Opening the sheet: it appears with an empty item, the list and the total.
void open(benchmark::State& state, const Archives& a) {
  Sheet sheet(a);
  for (auto _ : state) {
    sheet.window.show();
    sheet.painted();
    state.PauseTiming();
    sheet.expectCount(state, a.records());
    sheet.window.hide();
    settle();
    state.ResumeTiming();
  }
  scans(state, a, Kind::Supply);
}

// Saving a new item: checks, calculation, append, list and total reloaded.
void saveNew(benchmark::State& state, const Archives& a) {
  Sheet sheet(a);
  sheet.window.show();
  settle();
  const uintmax_t size = std::filesystem::file_size(a.supply());
  for (auto _ : state) {
    state.PauseTiming();
    sheet.window.cmdNuovoClick();
    sheet.control<QLineEdit>("txtProdotto")->setText(QStringLiteral("Voce aggiunta"));
    sheet.control<QLineEdit>("txtQuantita")->setText(QStringLiteral("3"));
    sheet.control<QLineEdit>("txtPrezzo")->setText(QStringLiteral("2,333"));
    std::filesystem::resize_file(a.supply(), size);
    state.ResumeTiming();
    QTest::mouseClick(sheet.control("cmdSalva"), Qt::LeftButton);
    sheet.painted();
  }
  if (sheet.control<QLineEdit>("txtImporto")->text() != QStringLiteral("7,00")) state.SkipWithError("wrong amount");
  sheet.expectCount(state, a.records() + 1);
  std::filesystem::resize_file(a.supply(), size);
  scans(state, a, Kind::Supply);
}

// Saving the item on screen again: overwrite, list and total reloaded.
void saveAgain(benchmark::State& state, const Archives& a) {
  Sheet sheet(a);
  sheet.window.show();
  settle();
  sheet.window.showItem(supplyItem(a.records() / 2), a.records() / 2);
  for (auto _ : state) {
    QTest::mouseClick(sheet.control("cmdSalva"), Qt::LeftButton);
    sheet.painted();
  }
  if (sheet.control<QLabel>("lblPosizione")->text() != QString::number(a.records() / 2))
    state.SkipWithError("not overwritten");
  scans(state, a, Kind::Supply);
}

// A click on a line near the end: its record is found again and shown.
void clickLine(benchmark::State& state, const Archives& a) {
  Sheet sheet(a);
  sheet.window.show();
  settle();
  const int row = static_cast<int>(a.records()) - 10;
  const QModelIndex index = sheet.list()->model()->index(row, 0);
  sheet.list()->scrollTo(index);
  settle();
  const QPoint at = sheet.list()->visualRect(index).center();
  for (auto _ : state) {
    state.PauseTiming();
    sheet.control<QLabel>("lblPosizione")->clear();
    state.ResumeTiming();
    QTest::mouseClick(sheet.list()->viewport(), Qt::LeftButton, {}, at);
  }
  if (sheet.control<QLabel>("lblPosizione")->text().isEmpty()) state.SkipWithError("nothing loaded");
  scans(state, a, Kind::Supply);
}

// A navigation step on the sheet: one record read and shown.
void next(benchmark::State& state, const Archives& a) {
  Sheet sheet(a);
  sheet.window.show();
  settle();
  const QString middle = QString::number(a.records() / 2);
  for (auto _ : state) {
    state.PauseTiming();
    sheet.control<QLabel>("lblPosizione")->setText(middle);
    state.ResumeTiming();
    QTest::mouseClick(sheet.control("imgAvanti"), Qt::LeftButton);
  }
  if (sheet.control<QLabel>("lblPosizione")->text() != QString::number(a.records() / 2 + 1))
    state.SkipWithError("no step");
}

void registerAll() {
  atSizes("SupplySheet/open", sheetSizes(), open);
  atSizes("SupplySheet/save-new", sheetSizes(), saveNew);
  atSizes("SupplySheet/save-again", sheetSizes(), saveAgain);
  atSizes("SupplySheet/click-line", sheetSizes(), clickLine);
  atSizes("SupplySheet/next", sheetSizes(), next, benchmark::kMicrosecond);
  registerRawReads({Kind::Supply}, sheetSizes());
}

}  // namespace
}  // namespace zel::bench

int main(int argc, char** argv) { return zel::bench::runWindowBenchmarks(argc, argv, zel::bench::registerAll); }
