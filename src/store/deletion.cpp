// Delete by copy: every record but one is copied into a temporary file, which
// is then renamed over the archive.
#include <algorithm>
#include <vector>

#include "store/recordfile.h"
#include "store/rewrite.h"

namespace zel {
namespace {

constexpr size_t kCopyBlock = 1 << 20;  // bytes gathered before each write

void copyAllBut(const RecordFile& source, size_t k, int copy, const std::filesystem::path& temp) {
  // Kept records are gathered into blocks so the copy costs few writes.
  const size_t size = source.layout().recordSize();
  const size_t perBlock = std::max<size_t>(1, kCopyBlock / size);
  std::vector<uint8_t> block;
  block.reserve(perBlock * size);
  uint64_t written = 0;
  auto flush = [&] {
    writeAt(copy, written, block.data(), block.size(), temp);
    written += block.size();
    block.clear();
  };
  source.scan([&](size_t i, const uint8_t* bytes) {
    if (i == k) return;
    block.insert(block.end(), bytes, bytes + size);
    if (block.size() / size == perBlock) flush();
  });
  if (!block.empty()) flush();
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

  rewriteFile(archive, source.descriptor(), tempPath,
              [&](int fd, const std::filesystem::path& temp) { copyAllBut(source, k, fd, temp); }, checkpoint);
  source.close();
}

}  // namespace zel
