// Delete by copy: every record but one is copied into a temporary file, which
// is then renamed over the archive (store/rewrite.h).
#include "store/recordfile.h"
#include "store/rewrite.h"

namespace zel {
namespace {

void copyAllBut(const RecordFile& source, size_t k, int copy, const std::filesystem::path& temp) {
  // Two ranges, the records before k and those after it, each copied by the
  // kernel: the program's CPU stays idle, and a file system that shares
  // extents (btrfs, XFS) shares the first range instead of writing it. The
  // second moves by one record, which no block size divides, so it is copied.
  const uint64_t size = source.layout().recordSize();
  const uint64_t before = (k - 1) * size;
  const uint64_t after = (source.count() - k) * size;  // a partial tail stays behind
  if (before > 0) copyRange(source.descriptor(), 0, copy, 0, before, source.path(), temp);
  if (after > 0) copyRange(source.descriptor(), before + size, copy, before, after, source.path(), temp);
}

}  // namespace

void deleteRecordByCopy(const std::filesystem::path& archive, const std::filesystem::path& tempPath,
                        const Layout& layout, size_t k, const std::function<void(DeleteStep)>& checkpoint,
                        const Record* shown) {
  auto step = [&](DeleteStep s) {
    if (checkpoint) checkpoint(s);
  };
  step(DeleteStep::OpenArchive);
  RecordFile source = RecordFile::openExisting(archive, layout, Lock::Exclusive);
  if (shown && !source.holds(k, *shown))
    throw CardChanged("record " + std::to_string(k) + " of " + archive.string() + " is no longer the one shown");
  // A record number past the end would delete nothing, so it is a failure
  // rather than a silent success.
  if (k < 1 || k > source.count()) throw StoreError("no record " + std::to_string(k) + " in " + archive.string());

  rewriteFile(
      archive, source.descriptor(), tempPath,
      [&](int fd, const std::filesystem::path& temp) { copyAllBut(source, k, fd, temp); }, checkpoint, "archive");
  source.closeReplaced();
}

}  // namespace zel
