// Record-file costs at 100,000 client records (about 390 MB): one read, one
// overwrite, one append, a full scan with and without decoding, and plain
// reads of the same file (read() in 1 MB blocks, and `cat FILE > /dev/null`)
// as the baseline a scan should come close to.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "store/layout.h"
#include "store/recordfile.h"

namespace {

namespace fs = std::filesystem;
using zel::Record;
using zel::RecordFile;

constexpr size_t kRecords = 100000;

zel::Record sampleClient(size_t i) {
  const zel::Layout& l = zel::clientLayout();
  zel::Record r = zel::emptyRecord(l);
  const std::string n = std::to_string(i);
  r[l.indexOf("Codice")] = "CL" + n;
  r[l.indexOf("Persona")] = "Cliente di prova numero " + n;
  r[l.indexOf("Indirizzo")] = "Via Giuseppe Garibaldi " + std::to_string(i % 200);
  r[l.indexOf("Citta")] = "00100 Roma RM";
  r[l.indexOf("CodFisc")] = "RSSMRA80A01H501U";
  r[l.indexOf("Iva")] = "01234567890";
  r[l.indexOf("Iban")] = "IT60X0542811101000000123456";
  r[l.indexOf("TelCel")] = "+39 333 " + n;
  r[l.indexOf("Email")] = "cliente" + n + "@esempio.it";
  if (i % 3 == 0) r[l.indexOf("Note")] = std::string(120, 'n');
  if (i % 10 == 0) r[l.indexOf("File01")] = "/home/utente/Documenti/contratto-" + n + ".pdf";
  return r;
}

// The archive, made once for the whole run in a private folder under /tmp and
// removed when the run ends.
class Archive {
 public:
  Archive() {
    std::string tmpl = "/tmp/zelvano-bench-XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    folder_ = tmpl;
    file_ = folder_ / "Anagrafica.pro";
    const zel::Layout& l = zel::clientLayout();
    auto f = RecordFile::createEmpty(file_, l);
    constexpr size_t kChunk = 256;
    std::vector<uint8_t> block(kChunk * l.recordSize());
    for (size_t done = 0; done < kRecords; done += kChunk) {
      const size_t n = std::min(kChunk, kRecords - done);
      for (size_t j = 0; j < n; ++j)
        zel::encodeRecord(l, sampleClient(done + j + 1), block.data() + j * l.recordSize());
      f.appendRaw(block.data(), n);
    }
    f.close();
  }
  ~Archive() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  const fs::path& file() const { return file_; }
  uint64_t bytes() const { return uint64_t{kRecords} * zel::clientLayout().recordSize(); }

 private:
  fs::path folder_;
  fs::path file_;
};

Archive& archive() {
  static Archive a;
  return a;
}

size_t randomRecord() {
  static std::mt19937_64 rng(12345);
  return std::uniform_int_distribution<size_t>(1, kRecords)(rng);
}

// One navigation step's worth of work: open, read record k, close.
void BM_ReadRecord(benchmark::State& state) {
  const auto& file = archive().file();
  for (auto _ : state) {
    auto f = RecordFile::openForUpdate(file, zel::clientLayout());
    benchmark::DoNotOptimize(f.read(randomRecord()));
    f.close();
  }
}
BENCHMARK(BM_ReadRecord);

// One save of a stored card: open, overwrite record k, close.
void BM_OverwriteRecord(benchmark::State& state) {
  const auto& file = archive().file();
  for (auto _ : state) {
    const size_t k = randomRecord();
    const Record r = sampleClient(k);  // the record's own content: the file stays as made
    auto f = RecordFile::openForUpdate(file, zel::clientLayout());
    f.overwrite(k, r);
    f.close();
  }
}
BENCHMARK(BM_OverwriteRecord);

// One save of a new card: open, append, close. The file is cut back to its
// size after each append, outside the measured time.
void BM_AppendRecord(benchmark::State& state) {
  const auto& file = archive().file();
  const Record r = sampleClient(kRecords + 1);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto f = RecordFile::openForUpdate(file, zel::clientLayout());
    const size_t k = f.append(r);
    f.close();
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    if (k != kRecords + 1) state.SkipWithError("append landed elsewhere");
    fs::resize_file(file, archive().bytes());
  }
}
BENCHMARK(BM_AppendRecord)->UseManualTime();

// A search's full pass: every record read and decoded.
void BM_ScanRecords(benchmark::State& state) {
  const auto& file = archive().file();
  for (auto _ : state) {
    auto f = RecordFile::openForUpdate(file, zel::clientLayout());
    size_t chars = 0;
    f.scanRecords([&](size_t, const Record& r) { chars += r[1].size(); });
    f.close();
    benchmark::DoNotOptimize(chars);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * archive().bytes()));
}
BENCHMARK(BM_ScanRecords)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same pass without decoding.
void BM_ScanRaw(benchmark::State& state) {
  const auto& file = archive().file();
  for (auto _ : state) {
    auto f = RecordFile::openForUpdate(file, zel::clientLayout());
    size_t sum = 0;
    f.scan([&](size_t, const uint8_t* bytes) { sum += bytes[51]; });
    f.close();
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * archive().bytes()));
}
BENCHMARK(BM_ScanRaw)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: the file read with read() in 1 MB blocks into a scratch buffer.
void BM_CatBaseline(benchmark::State& state) {
  const auto& file = archive().file();
  std::vector<char> buf(1 << 20);
  for (auto _ : state) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      state.SkipWithError("cannot open");
      break;
    }
    uint64_t total = 0;
    ssize_t n;
    while ((n = ::read(fd, buf.data(), buf.size())) > 0) total += static_cast<uint64_t>(n);
    ::close(fd);
    benchmark::DoNotOptimize(total);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * archive().bytes()));
}
BENCHMARK(BM_CatBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: `cat FILE > /dev/null`, run by the shell on the same file.
void BM_CatCommand(benchmark::State& state) {
  const std::string command = "cat '" + archive().file().string() + "' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("cat failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * archive().bytes()));
}
BENCHMARK(BM_CatCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  archive();  // made before any timing starts
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
