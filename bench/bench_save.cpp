// What a save costs now that it is on the disk when the success message
// appears: the card's save (overwrite with its undo journal and the check
// that nobody changed the record meanwhile, and append), each set against
// the same write without any flush, on the client registry of every size.
// Wall-clock time: the cost is the disk's, not the processor's.
#include <filesystem>
#include <string>

#include "benchdata.h"
#include "store/archives.h"
#include "store/card.h"
#include "store/recordfile.h"

namespace zel::bench {
namespace {

namespace fs = std::filesystem;

// The record in the middle, changed at every pass as a user would change it;
// put back as made at the end.
void durableOverwrite(benchmark::State& state, const Archives& a) {
  const CardArchive archive = clientArchive(a.folder());
  const size_t k = a.records() / 2;
  const std::string label = std::to_string(k);
  Record shown = client(k);
  size_t n = 0;
  for (auto _ : state) {
    Record r = shown;
    r[1] = "Modificato " + std::to_string(++n);
    saveCard(archive, label, r, &shown);
    shown = r;
  }
  saveCard(archive, label, client(k), &shown);
}

void unflushedOverwrite(benchmark::State& state, const Archives& a) {
  const size_t k = a.records() / 2;
  const Record r = client(k);
  for (auto _ : state) {
    RecordFile f = RecordFile::openForUpdate(a.clients(), clientLayout());
    f.overwrite(k, r);
    f.close();
  }
}

// Appends a new card; the file is cut back outside the measured time.
void durableAppend(benchmark::State& state, const Archives& a) {
  const CardArchive archive = clientArchive(a.folder());
  const Record r = client(a.records() + 1);
  const uintmax_t size = fs::file_size(a.clients());
  for (auto _ : state) {
    saveCard(archive, "", r);
    state.PauseTiming();
    fs::resize_file(a.clients(), size);
    state.ResumeTiming();
  }
}

void unflushedAppend(benchmark::State& state, const Archives& a) {
  const Record r = client(a.records() + 1);
  const uintmax_t size = fs::file_size(a.clients());
  for (auto _ : state) {
    RecordFile f = RecordFile::openForUpdate(a.clients(), clientLayout());
    f.append(r);
    f.close();
    state.PauseTiming();
    fs::resize_file(a.clients(), size);
    state.ResumeTiming();
  }
}

void registerAll() {
  atEverySize("DurableSave/overwrite", durableOverwrite, benchmark::kMicrosecond);
  atEverySize("WriteWithoutFlush/overwrite", unflushedOverwrite, benchmark::kMicrosecond);
  atEverySize("DurableSave/append", durableAppend, benchmark::kMicrosecond);
  atEverySize("WriteWithoutFlush/append", unflushedAppend, benchmark::kMicrosecond);
}

}  // namespace
}  // namespace zel::bench

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv, zel::bench::registerAll); }
