#include "store/archivescan.h"

#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "store/iohook.h"
#include "store/recordfile.h"

namespace zel {
namespace {

std::mutex splitGuard;
ScanSplit currentSplit;

// Bytes each range reads at once: a block that stays in the core's own
// cache, so its records are decoded from there rather than from memory.
constexpr size_t kPartBlock = size_t{256} << 10;
constexpr size_t kMaxParts = 8;
constexpr size_t kReportEvery = 256;  // records between two progress reports

// The cores a listing may take. A second thread pays only when a core is
// free for it: on a machine already running twice as much work as it has
// cores, each handover between the threads waits for the scheduler, and the
// split listing was measured slower than the single pass (load average 7 on
// two cores: 10-60 ms more for a listing of 100,000 records; at 2.7 it was
// 30-40 % faster). The load average of the last minute decides.
size_t coresFree() {
  const size_t cores = std::max<size_t>(1, std::min<size_t>(kMaxParts, std::thread::hardware_concurrency()));
  double load = 0;
  if (::getloadavg(&load, 1) == 1 && load >= 2.0 * static_cast<double>(cores)) return 1;
  return cores;
}

size_t partsFor(uint64_t bytes) {
  ScanSplit split;
  {
    std::lock_guard<std::mutex> lock(splitGuard);
    split = currentSplit;
  }
  const uint64_t cores = split.parts ? split.parts : coresFree();
  const uint64_t shares = bytes / std::max<uint64_t>(1, split.minShare);
  return static_cast<size_t>(std::max<uint64_t>(1, std::min(cores, shares)));
}

// A test's I/O hook counts the steps it sees and is written for one thread:
// every range of a scan meets it, one step at a time.
IoHook serialized(const IoHook& hook, std::mutex& guard) {
  if (!hook) return {};
  return [hook, &guard](IoStep s) {
    std::lock_guard<std::mutex> lock(guard);
    return hook(s);
  };
}

// A range stopped because one before it failed: its results are dropped.
struct Overtaken {};

// The records each range has done, published now and then, each counter on
// a cache line of its own so the ranges do not slow one another down.
struct alignas(64) Done {
  std::atomic<size_t> records{0};
};

class PartedRun {
 public:
  PartedRun(const RecordFile& file, const Layout& layout, const Progress& progress, const PartedScan& scan,
            std::vector<ScanPart>& parts)
      : file_(file), progress_(progress), scan_(scan), parts_(parts), done_(parts.size()),
        firstFailed_(parts.size()) {
    through_.viewWhereCheaper = true;
    for (size_t f : scan.fieldsRead) through_.offsetsRead.push_back(layout.offset(f));
  }

  // Reads range i to its end, its failure, or an earlier range's failure.
  void run(size_t i, bool reports) {
    try {
      size_t mine = 0;
      const RecordRange r = parts_[i].range;
      file_.scanRange(r.first, r.last, [&](size_t k, const uint8_t* bytes) {
        if (firstFailed_.load(std::memory_order_relaxed) < i) throw Overtaken{};
        if (progress_.cancel && progress_.cancel->load(std::memory_order_relaxed)) throw Cancelled();
        if (++mine % kReportEvery == 0) {
          done_[i].records.store(mine, std::memory_order_relaxed);
          if (reports) report();
        }
        scan_.visit(i, k, bytes);
      }, kPartBlock, through_);
    } catch (const Overtaken&) {
    } catch (...) {
      failed(i, std::current_exception());
    }
    if (!scan_.finish) return;
    try {
      scan_.finish(i);
    } catch (...) {
      if (!parts_[i].failure) failed(i, std::current_exception());
    }
  }

  // The calling thread waits for the other ranges, reporting meanwhile.
  void waitForOthers(size_t others) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!ended_.wait_for(lock, std::chrono::milliseconds(50), [&] { return finished_ == others; })) {
      lock.unlock();
      report();
      lock.lock();
    }
  }

  void ended() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++finished_;
    ended_.notify_one();
  }

 private:
  void report() const {
    if (!progress_.report) return;
    size_t all = 0;
    for (const Done& d : done_) all += d.records.load(std::memory_order_relaxed);
    progress_.report(all, parts_.back().range.last);
  }

  void failed(size_t i, std::exception_ptr why) {
    parts_[i].failure = std::move(why);
    size_t first = firstFailed_.load();
    while (i < first && !firstFailed_.compare_exchange_weak(first, i)) {
    }
  }

  const RecordFile& file_;
  const Progress& progress_;
  const PartedScan& scan_;
  ScanThrough through_;
  std::vector<ScanPart>& parts_;
  std::vector<Done> done_;
  std::atomic<size_t> firstFailed_;
  std::mutex mutex_;
  std::condition_variable ended_;
  size_t finished_ = 0;
};

}  // namespace

ArchiveScan scanArchive(const std::filesystem::path& path, const Layout& layout,
                        const std::function<void(const ArchiveScan&)>& opened,
                        const std::function<void(size_t, const uint8_t*)>& visit) {
  auto file = RecordFile::openReadOnly(path, layout);
  ArchiveScan scan;
  const size_t expected = file.count();
  const uint64_t whole = static_cast<uint64_t>(expected) * layout.recordSize();
  std::error_code ec;
  const uint64_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > whole) scan.partialBytes = size - whole;
  scan.records = expected;
  if (opened) opened(scan);

  size_t seen = 0;
  try {
    file.scan([&](size_t k, const uint8_t* bytes) {
      seen = k;
      visit(k, bytes);
    });
  } catch (const StoreError&) {
    // A read that finds the end of the file early reports no system error
    // at all; the file's length now tells what happened.
    const uint64_t now = std::filesystem::file_size(path, ec);
    if (ec || now >= whole) throw;
    throw StoreError(path.string() + ": the file ended at byte " + std::to_string(now) +
                     " while being read, though it held " + std::to_string(whole) +
                     " bytes of records when opened (another program shortened it); records from " +
                     std::to_string(seen + 1) + " on were not read");
  }
  file.close();
  return scan;
}

std::vector<RecordRange> splitRecords(size_t records, size_t parts) {
  std::vector<RecordRange> ranges;
  parts = std::max<size_t>(1, std::min(parts, records));
  size_t first = 1;
  for (size_t i = 0; i < parts && records > 0; ++i) {
    const size_t n = records / parts + (i < records % parts ? 1 : 0);
    ranges.push_back({first, first + n - 1});
    first += n;
  }
  return ranges;
}

ScanSplit setScanSplit(ScanSplit split) {
  std::lock_guard<std::mutex> lock(splitGuard);
  return std::exchange(currentSplit, split);
}

std::vector<ScanPart> scanInParts(const std::filesystem::path& path, const Layout& layout, Access access,
                                  const Progress& progress, const PartedScan& scan) {
  std::optional<RecordFile> file = openForListing(path, layout, access);
  const size_t records = file ? file->count() : 0;
  std::vector<ScanPart> parts;
  for (const RecordRange& r : splitRecords(records, partsFor(uint64_t{records} * layout.recordSize())))
    parts.push_back({r, nullptr});
  if (scan.prepare) scan.prepare(parts.size());
  if (parts.empty()) {
    if (file) file->close();
    return parts;
  }
  std::mutex hookGuard;
  const IoHook hook = serialized(currentIoHook(), hookGuard);
  PartedRun run(*file, layout, progress, scan, parts);
  std::vector<std::thread> threads;
  std::vector<size_t> here{0};  // the ranges the calling thread reads
  {
    const ScopedIoHook callerHook(hook ? hook : currentIoHook());
    for (size_t i = 1; i < parts.size(); ++i) {
      try {
        threads.emplace_back([&run, &hook, i] {
          const ScopedIoHook threadHook(hook);
          run.run(i, false);
          run.ended();
        });
      } catch (const std::system_error&) {
        here.push_back(i);  // no thread to be had: read it here, in turn
      }
    }
    for (size_t i : here) run.run(i, true);
    run.waitForOthers(threads.size());
  }
  for (std::thread& t : threads) t.join();
  const bool whole = std::none_of(parts.begin(), parts.end(), [](const ScanPart& p) { return p.failure; });
  if (progress.report && whole) progress.report(records, records);
  file->close();
  return parts;
}

size_t partsKept(const std::vector<ScanPart>& parts) {
  for (size_t i = 0; i < parts.size(); ++i)
    if (parts[i].failure) return i + 1;
  return parts.size();
}

void rethrowFirstFailure(const std::vector<ScanPart>& parts) {
  for (const ScanPart& p : parts)
    if (p.failure) std::rethrow_exception(p.failure);
}

}  // namespace zel
