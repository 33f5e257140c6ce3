// Printing a list, as "Stampa" does when no printer is installed: the
// question answered, the pages laid out and drawn into a PDF. The client
// search's lines of the run's sizes, up to 10,000 lines.
#include "benchui.h"
#include "store/clientsearch.h"

namespace zel::bench {
namespace {

constexpr size_t kMostLines = 10000;

std::vector<size_t> printSizes() {
  std::vector<size_t> at;
  for (size_t n : sizes())
    if (n <= kMostLines) at.push_back(n);
  if (at.empty()) at.push_back(kMostLines);
  return at;
}

void printToPdf(benchmark::State& state, const Archives& a) {
  const TextList lines = searchClients(a.clients(), {});
  QWidget window;
  for (auto _ : state) {
    if (!printList(&window, lines, PrintedList::ClientSearch)) state.SkipWithError("not printed");
    state.PauseTiming();
    state.counters["pdf_MB"] = static_cast<double>(std::filesystem::file_size(benchServices().lastPrintout)) / 1e6;
    std::filesystem::remove(benchServices().lastPrintout);
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(lines.size());
}

void registerAll() { atSizes("PrintList/pdf", printSizes(), printToPdf); }

}  // namespace
}  // namespace zel::bench

int main(int argc, char** argv) { return zel::bench::runWindowBenchmarks(argc, argv, zel::bench::registerAll); }
