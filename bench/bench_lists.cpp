// The result lists at 100,000 lines, on Qt's offscreen platform: the client
// search window from Trova to the list painted on screen (every client of a
// 100,000-client archive listed), and a find in list that has to walk to the
// last line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "clients/cercadestinatari.h"
#include "store/archives.h"
#include "store/fields.h"
#include "store/recordfile.h"
#include "ui/behaviour.h"
#include "ui/programfolder.h"

namespace zel {
namespace {

constexpr size_t kClients = 100000;

const char* const kSurnames[] = {"Rossi", "Russo", "Ferrari", "Esposito", "Bianchi", "Romano", "Colombo",
                                 "Ricci", "Marino", "Greco", "Bruno", "Gallo", "Conti", "De Luca"};
const char* const kCities[] = {"20121 Milano (MI)", "00184 Roma (RM)", "10121 Torino (TO)", "80133 Napoli (NA)"};

// 100,000 clients in a private program folder, made once before any timing.
struct Registry {
  QTemporaryDir dir;
  Registry() {
    setProgramFolder(qToPath(dir.path()));
    const Layout& l = clientLayout();
    RecordFile f = RecordFile::createEmpty(programFile(kClientArchive), l);
    constexpr size_t kChunk = 256;
    std::vector<uint8_t> block(kChunk * l.recordSize());
    for (size_t done = 0; done < kClients; done += kChunk) {
      const size_t n = std::min(kChunk, kClients - done);
      for (size_t j = 0; j < n; ++j) {
        const size_t i = done + j;
        Record r = emptyRecord(l);
        r[client::Codice] = "CL" + std::to_string(100000 + i);
        r[client::Persona] = std::string(kSurnames[i % 14]) + " cliente " + std::to_string(i);
        r[client::Ufficio] = i % 5 ? "" : "Ufficio acquisti";
        r[client::Citta] = kCities[i % 4];
        r[client::TelCel] = "+39 333 " + std::to_string(1000000 + i);
        encodeRecord(l, r, block.data() + j * l.recordSize());
      }
      f.appendRaw(block.data(), n);
    }
    f.close();
  }
};

Registry& registry() {
  static Registry r;
  return r;
}

// Trova with no criterion: every client is listed, then the list is painted.
void BM_ClientSearchTrovaToScreen(benchmark::State& state) {
  TfrmCercaDestinatari window;
  window.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    window.cmdTrovaClick();
    window.results->lstRecords->viewport()->repaint();
    state.PauseTiming();
    if (window.results->count() != static_cast<int>(kClients)) state.SkipWithError("not every client listed");
    window.cmdIndietroClick();
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(kClients);
}
BENCHMARK(BM_ClientSearchTrovaToScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

// A key that only the last line holds, from the first line.
void BM_FindInListAtTheEnd(benchmark::State& state) {
  TfrmCercaDestinatari window;
  window.show();
  window.cmdTrovaClick();
  QCoreApplication::processEvents();
  const int last = window.results->count() - 1;
  const QString key = toQ(Text(window.results->lines()[static_cast<size_t>(last)]).substr(9, 8));  // its code
  for (auto _ : state) {
    state.PauseTiming();
    window.results->resetFind();
    window.results->txtTrova->setText(key);
    window.results->selectRow(0);
    state.ResumeTiming();
    window.results->find();
  }
  if (window.results->selectedRow() != last) state.SkipWithError("the last line was not found");
}
BENCHMARK(BM_FindInListAtTheEnd)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  zel::applyNumberConventions();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  zel::registry();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
