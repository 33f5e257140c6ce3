// What a save costs now that it is on the disk when the success message
// appears: the card's save (overwrite, with its undo journal, and append),
// each measured against the same write without any flush, in a 1,000-client
// archive in a private folder under /tmp. Wall-clock time: the cost is the
// disk's, not the processor's.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "store/archives.h"
#include "store/card.h"

namespace {

namespace fs = std::filesystem;
using namespace zel;

constexpr size_t kRecords = 1000;

Record sample(size_t i) {
  Record r = emptyRecord(clientLayout());
  r[0] = "CL" + std::to_string(i);
  r[1] = "Cliente di prova numero " + std::to_string(i);
  r[3] = "Via Giuseppe Garibaldi " + std::to_string(i % 200);
  r[32] = std::string(120, 'n');
  return r;
}

class Folder {
 public:
  Folder() {
    std::string tmpl = "/tmp/zelvano-bench-XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    path_ = tmpl;
    auto f = RecordFile::createEmpty(path_ / kClientArchive, clientLayout());
    for (size_t i = 1; i <= kRecords; ++i) f.append(sample(i));
    f.sync();
  }
  ~Folder() { fs::remove_all(path_); }
  CardArchive clients() const { return clientArchive(path_); }

 private:
  fs::path path_;
};

void BM_SaveOverwrite(benchmark::State& state) {
  Folder folder;
  Record shown = sample(500);
  size_t n = 0;
  for (auto _ : state) {
    Record r = shown;
    r[1] = "Modificato " + std::to_string(++n);
    saveCard(folder.clients(), "500", r, &shown);
    shown = r;
  }
}
BENCHMARK(BM_SaveOverwrite)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_OverwriteWithoutFlush(benchmark::State& state) {
  Folder folder;
  for (auto _ : state) {
    auto f = RecordFile::openForUpdate(folder.clients().file, clientLayout());
    f.overwrite(500, sample(500));
    f.close();
  }
}
BENCHMARK(BM_OverwriteWithoutFlush)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_SaveAppend(benchmark::State& state) {
  Folder folder;
  for (auto _ : state) saveCard(folder.clients(), "", sample(kRecords + 1));
}
BENCHMARK(BM_SaveAppend)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_AppendWithoutFlush(benchmark::State& state) {
  Folder folder;
  for (auto _ : state) {
    auto f = RecordFile::openForUpdate(folder.clients().file, clientLayout());
    f.append(sample(kRecords + 1));
    f.close();
  }
}
BENCHMARK(BM_AppendWithoutFlush)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
