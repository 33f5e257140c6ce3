#pragma once
// What every benchmark shares: archives with realistic texts (clients,
// products and one supply) at the sizes of the run, made once in a private
// program folder and removed at the end; the sizes themselves (--sizes=);
// and the plain read of each file (`dd if=FILE of=/dev/null bs=128k`) that every scan
// is measured against in the same run.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "store/layout.h"
#include "support/tempfolder.h"

namespace zel::bench {

enum class Kind { Clients, Products, Supply };
// "clients", "products", "supply": the label of a scan and the name of its raw read.
const char* kindName(Kind kind);

// Record i (1-based) of each archive; the same i always gives the same record.
Record client(size_t i);
Record product(size_t i);
Record supplyItem(size_t i);

// A program folder holding Anagrafica.pro, Materiali.pro and one supply file
// of `records` records each.
class Archives {
 public:
  explicit Archives(size_t records);

  size_t records() const { return records_; }
  const std::filesystem::path& folder() const { return folder_.path(); }
  // The file of a kind (made when asked for the first time).
  const std::filesystem::path& file(Kind kind) const;
  std::filesystem::path clients() const { return file(Kind::Clients); }
  std::filesystem::path products() const { return file(Kind::Products); }
  std::filesystem::path supply() const { return file(Kind::Supply); }
  // Writes the archive of `kind` again as first made (after a benchmark changed it).
  void remake(Kind kind) const;

 private:
  size_t records_;
  test::TempFolder folder_{"/tmp", "zelvano-bench"};
  mutable std::vector<std::filesystem::path> made_;
};

// The archives of one size, shared by every benchmark of the run; every
// file is made at the first call, before anything is timed.
const Archives& archivesOf(size_t records);

// The sizes of this run: --sizes=1000,10000,100000 (the default).
const std::vector<size_t>& sizes();

using Run = std::function<void(benchmark::State&, const Archives&)>;
// Registers `run` once per size as "<name>/<size>", timed on the wall clock
// (what the user waits for); the CPU time is reported beside it.
void atEverySize(const std::string& name, const Run& run,
                 benchmark::TimeUnit unit = benchmark::kMillisecond);
// The same at the given sizes only; `rounds`, when given, fixes the number
// of rounds (for a benchmark whose rounds are long in themselves).
void atSizes(const std::string& name, const std::vector<size_t>& at, const Run& run,
             benchmark::TimeUnit unit = benchmark::kMillisecond, benchmark::IterationCount rounds = 0);

// Marks a benchmark as a full pass over the file of `kind`, so that the
// report sets it against that file's raw read.
void scans(benchmark::State& state, const Archives& archives, Kind kind);
// User and system CPU seconds of the finished child processes (the raw
// reads and copies run as commands).
double childrenCpu();

// Registers "RawRead/<kind>/<size>": `dd if=FILE of=/dev/null bs=128k` at every size
// (or at the sizes given).
void registerRawReads(std::initializer_list<Kind> kinds, const std::vector<size_t>& at = sizes());

// Parses --sizes= out of the arguments, lets `registerAll` register the
// benchmarks, runs them and removes the archives. The main of every
// benchmark program.
int runBenchmarks(int argc, char** argv, const std::function<void()>& registerAll);

}  // namespace zel::bench
