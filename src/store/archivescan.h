#pragma once
// Passes over a whole archive. A tool's single pass over an archive it only
// inspects (the dump, the verifier): every whole record is handed on and
// dropped at once, so the memory used is the same whatever the size of the
// file. A listing's pass (the searches and lists): the file cut into ranges
// of whole records, read and decoded on every core at once.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/progress.h"
#include "store/layout.h"
#include "store/recordfile.h"

namespace zel {

struct ArchiveScan {
  size_t records = 0;          // whole records read
  uint64_t partialBytes = 0;   // bytes of a partial record at the end
};

// Opens the archive read-only, tells `opened` what it holds (before any
// record is read), hands every whole record to `visit` in file order, closes
// it. Throws StoreError when the file cannot be opened or read.
// A file that comes to an end before the length it had when it was opened
// (another program shortened it meanwhile) is reported as such, with the
// record where the reading stopped, rather than with a bare system message.
ArchiveScan scanArchive(const std::filesystem::path& path, const Layout& layout,
                        const std::function<void(const ArchiveScan& found)>& opened,
                        const std::function<void(size_t k, const uint8_t* bytes)>& visit);

// Records first..last (1-based, inclusive) of a file.
struct RecordRange {
  size_t first = 1;
  size_t last = 0;
};

// Records 1..records cut into at most `parts` consecutive ranges, whose sizes
// differ by one record at most; no range is empty, so no records give none.
std::vector<RecordRange> splitRecords(size_t records, size_t parts);

// How a listing cuts its file: into `parts` ranges at most (0: one per
// core, or one alone when the machine is already busier than twice its
// cores), none smaller than `minShare` bytes, below which starting a thread
// costs more than it saves. The program keeps the default; tests cut small
// files into many ranges. Returns the previous setting.
struct ScanSplit {
  size_t parts = 0;
  uint64_t minShare = uint64_t{8} << 20;
};
ScanSplit setScanSplit(ScanSplit split);

// What a listing does with each range: `prepare` learns how many ranges
// there are before any record is read (to make room for each one's
// results); `visit` gets the records of one range in file order, on that
// range's thread; `finish`, when given, runs on the same thread once the
// range is read or has failed (its sort).
struct PartedScan {
  // The fields `visit` reads of most records: where the records are looked
  // at in place rather than read, these are fetched ahead (a hint only).
  std::vector<size_t> fieldsRead;
  std::function<void(size_t parts)> prepare;
  std::function<void(size_t part, size_t k, const uint8_t* bytes)> visit;
  std::function<void(size_t part)> finish;
};

// One range of a parallel scan and what ended it early, if anything: the
// exception its read or its visit threw, as thrown.
struct ScanPart {
  RecordRange range;
  std::exception_ptr failure;
};

// Opens the file as `access` says, holding its shared lock to the end, cuts
// its whole records into ranges (one per core, none under the smallest
// share) and reads and visits them all at once, the calling thread taking
// the first; returns when every range is done. A failed range stops the
// ranges after it (a listing keeps only what comes before the first failure
// in file order); the ranges before it run to their end. The user's stop
// (`progress.cancel`) is seen by every range; `progress.report` is called on
// the calling thread only, with the records done in all ranges. Throws
// StoreError when the file cannot be opened or closed; a missing file of a
// read-only listing gives no ranges.
std::vector<ScanPart> scanInParts(const std::filesystem::path& path, const Layout& layout, Access access,
                                  const Progress& progress, const PartedScan& scan);

// How many ranges a listing keeps: up to and including the first that
// failed (its records before the failure count), or all of them.
size_t partsKept(const std::vector<ScanPart>& parts);
// Rethrows the failure of the first range that failed; nothing when none did.
void rethrowFirstFailure(const std::vector<ScanPart>& parts);

}  // namespace zel
