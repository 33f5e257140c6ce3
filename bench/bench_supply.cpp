// A supply of 20,000 items: how long the sheet takes to open (item lines and
// total from the file, then the list filled) and to save one item (append,
// then the list reloaded). Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#include "core/numbers.h"
#include "store/recordfile.h"
#include "store/supplyitem.h"
#include "store/supplysheet.h"
#include "supplies/forniture.h"
#include "ui/behaviour.h"
#include "ui/programfolder.h"
#include "ui/services.h"

namespace zel {
namespace {

constexpr int kItems = 20000;

// Every message is answered at once; nothing is shown.
class QuietServices : public Services {
 public:
  void message(QWidget*, const QString&) override {}
  MsgAnswer box(QWidget*, const QString&, const QString&, MsgIcon, MsgButtons b) override {
    return b == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
  }
  bool openUrl(const QUrl&) override { return true; }
  QString chooseFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  QString chooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
  bool print(const QString&, const std::function<void(QPagedPaintDevice&)>&) override { return true; }
  void withProgress(QWidget*, const QString&, const std::function<void(const Progress&)>& work) override {
    work(Progress{});
  }
};

struct Supply {
  QTemporaryDir dir;
  std::filesystem::path file;

  Supply() {
    setProgramFolder(qToPath(dir.path()));
    file = qToPath(dir.filePath(QStringLiteral("Grande.for")));
    RecordFile f = RecordFile::createEmpty(file, supplyLayout());
    for (int i = 0; i < kItems; ++i) {
      Record r = emptyRecord(supplyLayout());
      r[supply::Prodotto] = "Articolo di prova numero " + std::to_string(i) + " con descrizione media";
      r[supply::Data] = "15/03/2026";
      r[supply::Ora] = "10:30";
      r[supply::Luogo] = "Via Roma 1, Milano";
      r[supply::Quantita] = std::to_string(i % 50 + 1);
      r[supply::Prezzo] = "12,50";
      r[supply::Importo] = completeAmount(generalForm((i % 50 + 1) * 12.5));
      r[supply::UM] = "pz";
      r[supply::Pagamento] = i % 7 ? "Saldato" : "In sospeso";
      r[supply::Cliente] = "Rossi Mario";
      r[supply::Fornitore] = "Bianchi Forniture Srl";
      f.append(r);
    }
    f.close();
  }
};

Supply& supplyFile() {
  static Supply s;
  return s;
}

// The core part of opening: every item line and the total from the file.
void BM_OpenCoreLinesAndTotal(benchmark::State& state) {
  const auto& file = supplyFile().file;
  for (auto _ : state) {
    const supplysheet::ItemList list = supplysheet::listItems(file);
    benchmark::DoNotOptimize(list.total());
    if (list.lines.size() != kItems) state.SkipWithError("wrong count");
  }
}
BENCHMARK(BM_OpenCoreLinesAndTotal)->Unit(benchmark::kMillisecond);

// Filling a list like the sheet's with 20,000 converted lines.
void BM_OpenListFill(benchmark::State& state) {
  const supplysheet::ItemList list = supplysheet::listItems(supplyFile().file);
  QListWidget widget;
  widget.setUniformItemSizes(true);
  widget.setGridSize(QSize(1500, 16));
  widget.resize(995, 196);
  widget.show();
  for (auto _ : state) {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(list.lines.size()));
    for (const Text& line : list.lines) lines.append(toQ(line));
    widget.setUpdatesEnabled(false);
    widget.clear();
    widget.addItems(lines);
    widget.setUpdatesEnabled(true);
    QCoreApplication::processEvents();  // layout and paint
  }
}
BENCHMARK(BM_OpenListFill)->Unit(benchmark::kMillisecond);

// The whole reload of the real sheet, as opening and every new item do.
void BM_OpenSheetReload(benchmark::State& state) {
  TfrmForniture sheet;
  sheet.lblFile->setText(pathToQ(supplyFile().file));
  sheet.resize(1280, 800);
  sheet.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    sheet.cmdCancellaClick();
    QCoreApplication::processEvents();
  }
  if (sheet.lstStudenti->count() < kItems) state.SkipWithError("list not filled");
}
BENCHMARK(BM_OpenSheetReload)->Unit(benchmark::kMillisecond);

// Saving one new item on the real sheet: checks, calculation, append, reload.
void BM_SaveOneItem(benchmark::State& state) {
  TfrmForniture sheet;
  sheet.lblFile->setText(pathToQ(supplyFile().file));
  sheet.resize(1280, 800);
  sheet.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    state.PauseTiming();
    sheet.cmdNuovoClick();
    sheet.txtProdotto->setText(QStringLiteral("Voce aggiunta"));
    sheet.txtQuantita->setText(QStringLiteral("3"));
    sheet.txtPrezzo->setText(QStringLiteral("2,333"));
    state.ResumeTiming();
    QTest::mouseClick(sheet.cmdSalva, Qt::LeftButton);
    QCoreApplication::processEvents();
  }
  if (sheet.txtImporto->text() != QStringLiteral("7,00")) state.SkipWithError("wrong amount");
}
BENCHMARK(BM_SaveOneItem)->Unit(benchmark::kMillisecond);

// Loading the item behind a clicked line near the end of the list.
void BM_LoadClickedLine(benchmark::State& state) {
  const supplysheet::ItemList list = supplysheet::listItems(supplyFile().file);
  const Text line = list.lines[kItems - 10];
  for (auto _ : state) {
    const auto found = supplysheet::findRecordOfLine(supplyFile().file, line);
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_LoadClickedLine)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  zel::QuietServices quiet;
  zel::setServices(&quiet);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
