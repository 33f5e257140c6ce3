// The card actions through the core, on the client registry of every size:
// save (append, overwrite), the four navigation steps and delete by copy,
// each one action as a card does it (open, work, close). Delete by copy
// rewrites the whole archive, so it is set against the file's raw read.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "benchdata.h"
#include "store/archives.h"
#include "store/card.h"

namespace zel::bench {
namespace {

namespace fs = std::filesystem;

size_t randomRecord(size_t records) {
  static std::mt19937_64 rng(12345);
  return std::uniform_int_distribution<size_t>(1, records)(rng);
}

// A new card: append, then the file is cut back outside the measured time.
void saveAppend(benchmark::State& state, const Archives& a) {
  const CardArchive archive = clientArchive(a.folder());
  const Record r = client(a.records() + 1);
  const uintmax_t size = fs::file_size(a.clients());
  for (auto _ : state) {
    const SaveOutcome out = saveCard(archive, "", r);
    state.PauseTiming();
    if (out.recordNumber != a.records() + 1) state.SkipWithError("append landed elsewhere");
    fs::resize_file(a.clients(), size);
    state.ResumeTiming();
  }
}

// A stored card saved again: overwrite record k with its own content.
void saveOverwrite(benchmark::State& state, const Archives& a) {
  const CardArchive archive = clientArchive(a.folder());
  for (auto _ : state) {
    state.PauseTiming();
    const size_t k = randomRecord(a.records());
    const Record r = client(k);
    const std::string label = std::to_string(k);
    state.ResumeTiming();
    saveCard(archive, label, r);
  }
}

// One navigation step from a card in the middle of the archive.
Run step(NavStep which) {
  return [which](benchmark::State& state, const Archives& a) {
    const CardArchive archive = clientArchive(a.folder());
    const std::string label = std::to_string(a.records() / 2);
    for (auto _ : state) {
      const NavOutcome out = navigate(archive, which, label);
      if (out.kind != NavOutcome::Kind::Show) state.SkipWithError("nothing shown");
      benchmark::DoNotOptimize(out.record);
    }
  };
}

// Deletes a record in the middle (the whole file is copied, synced and
// renamed over the archive); the record goes back at the end of the file
// outside the measured time, so every pass deletes from the same count.
void deleteByCopy(benchmark::State& state, const Archives& a) {
  const CardArchive archive = clientArchive(a.folder());
  const std::string label = std::to_string(a.records() / 2);
  const Record r = client(a.records() / 2);
  for (auto _ : state) {
    deleteCard(archive, label);
    state.PauseTiming();
    saveCard(archive, "", r);
    state.ResumeTiming();
  }
  scans(state, a, Kind::Clients);
}

// What deleting cannot beat: the file copied by `cp --reflink=never` (no
// extents shared) and flushed, as the deletion copies and flushes it. The
// CPU time is cp's and sync's own (child processes).
void copyAndFlush(benchmark::State& state, const Archives& a) {
  const fs::path copy = a.folder() / "copia.pro";
  const std::string command = "cp --reflink=never '" + a.clients().string() + "' '" + copy.string() +
                              "' && sync '" + copy.string() + "'";
  const double before = childrenCpu();
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("cp failed");
      break;
    }
    state.PauseTiming();
    fs::remove(copy);
    state.ResumeTiming();
  }
  state.counters["cpu_s"] = (childrenCpu() - before) / static_cast<double>(state.iterations());
}

void registerAll() {
  atEverySize("Save/append", saveAppend, benchmark::kMicrosecond);
  atEverySize("Save/overwrite", saveOverwrite, benchmark::kMicrosecond);
  atEverySize("Navigate/first", step(NavStep::First), benchmark::kMicrosecond);
  atEverySize("Navigate/previous", step(NavStep::Previous), benchmark::kMicrosecond);
  atEverySize("Navigate/next", step(NavStep::Next), benchmark::kMicrosecond);
  atEverySize("Navigate/last", step(NavStep::Last), benchmark::kMicrosecond);
  atEverySize("DeleteByCopy", deleteByCopy);
  atEverySize("CopyAndFlush/clients", copyAndFlush);
  registerRawReads({Kind::Clients});
}

}  // namespace
}  // namespace zel::bench

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv, zel::bench::registerAll); }
