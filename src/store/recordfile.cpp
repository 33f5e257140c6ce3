#include "store/recordfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "store/iohook.h"
#include "store/journal.h"

namespace zel {
namespace {

constexpr size_t kScanBlock = 1 << 20;  // bytes read at once by a scan

bool journalPending(const std::filesystem::path& path) {
  return journal::exists(journal::pathFor(realFile(path)));
}

}  // namespace

RecordFile::RecordFile(FileHandle file, std::filesystem::path path, const Layout& layout, bool exclusive)
    : file_(std::move(file)), path_(std::move(path)), layout_(&layout), exclusive_(exclusive) {}

RecordFile RecordFile::open(const std::filesystem::path& path, const Layout& layout, int flags, Lock lock) {
  const bool writable = (flags & O_ACCMODE) == O_RDWR;
  for (;;) {
    FileHandle file = openLocked(path, flags, lock);
    // A journal left by an overwrite that never finished is undone before
    // anyone reads or writes. Only a writer may: a reader lets go of its
    // shared lock and comes back as one.
    if (writable && journalPending(path)) {
      if (lock == Lock::Shared) {
        unlockFile(file.get());
        lockFile(file.get(), Lock::Exclusive, path, lockDeadline());
        if (!namesFile(path, file.get())) continue;
      }
      journal::recover(journal::pathFor(realFile(path)), file.get(), path);
      if (lock == Lock::Shared) lockFile(file.get(), Lock::Shared, path, lockDeadline());
    }
    return RecordFile(std::move(file), path, layout, lock == Lock::Exclusive);
  }
}

RecordFile RecordFile::openForUpdate(const std::filesystem::path& path, const Layout& layout, Lock lock) {
  return open(path, layout, O_RDWR | O_CREAT, lock);
}

RecordFile RecordFile::openExisting(const std::filesystem::path& path, const Layout& layout, Lock lock) {
  return open(path, layout, O_RDWR, lock);
}

RecordFile RecordFile::openReadOnly(const std::filesystem::path& path, const Layout& layout) {
  return open(path, layout, O_RDONLY, Lock::Shared);
}

RecordFile RecordFile::createEmpty(const std::filesystem::path& path, const Layout& layout) {
  RecordFile f = open(path, layout, O_RDWR | O_CREAT, Lock::Exclusive);
  truncateTo(f.descriptor(), 0, path);
  ::fchmod(f.descriptor(), 0600);  // a leftover file may carry wider rights
  return f;
}

void RecordFile::requireOpen() const {
  if (!file_) throw StoreError("file not open");
}

void RecordFile::requireExclusive() const {
  requireOpen();
  if (!exclusive_) throw StoreError("writing " + path_.string() + " needs its exclusive lock");
}

void RecordFile::checkRecordNumber(size_t k) const {
  if (k < 1 || k > count())
    throw StoreError(describeFailure("no such record in", path_, ERANGE));
}

size_t RecordFile::count() const {
  requireOpen();
  return static_cast<size_t>(fileSize(descriptor(), path_) / layout_->recordSize());
}

void RecordFile::readRaw(size_t k, uint8_t* out) const {
  checkRecordNumber(k);
  const size_t size = layout_->recordSize();
  readAt(descriptor(), (k - 1) * size, out, size, path_);
}

Record RecordFile::read(size_t k) const {
  std::vector<uint8_t> buf(layout_->recordSize());
  readRaw(k, buf.data());
  return decodeRecord(*layout_, buf.data());
}

bool RecordFile::holds(size_t k, const Record& shown) const {
  if (k < 1 || k > count()) return false;
  const Record stored = read(k);
  for (size_t i = 0; i < layout_->fieldCount(); ++i) {
    const Text expected = i < shown.values.size() ? fieldText(shown[i], layout_->field(i).capacity) : Text();
    if (stored[i] != expected) return false;
  }
  return true;
}

void RecordFile::overwriteRaw(size_t k, const uint8_t* bytes) {
  checkRecordNumber(k);
  writeAt(descriptor(), (k - 1) * layout_->recordSize(), bytes, layout_->recordSize(), path_);
}

void RecordFile::overwrite(size_t k, const Record& record) {
  std::vector<uint8_t> buf(layout_->recordSize());
  encodeRecord(*layout_, record, buf.data());
  overwriteRaw(k, buf.data());
}

size_t RecordFile::appendRaw(const uint8_t* bytes, size_t records) {
  const size_t n = count();
  writeAt(descriptor(), n * layout_->recordSize(), bytes, records * layout_->recordSize(), path_);
  return n + records;
}

size_t RecordFile::append(const Record& record) {
  std::vector<uint8_t> buf(layout_->recordSize());
  encodeRecord(*layout_, record, buf.data());
  return appendRaw(buf.data());
}

size_t RecordFile::commitAppendRaw(const uint8_t* bytes) {
  requireExclusive();
  const size_t size = layout_->recordSize();
  // The bytes the new record covers are those of a partial tail, if any:
  // kept in memory to put back should the append fail.
  journal::Entry before;
  before.oldSize = fileSize(descriptor(), path_);
  const size_t n = static_cast<size_t>(before.oldSize / size);
  before.offset = n * size;
  before.oldBytes.resize(static_cast<size_t>(before.oldSize - before.offset));
  readAt(descriptor(), before.offset, before.oldBytes.data(), before.oldBytes.size(), path_);
  try {
    writeAt(descriptor(), before.offset, bytes, size, path_);
    syncData(descriptor(), path_);
  } catch (...) {
    try {
      journal::undo(descriptor(), path_, before);
    } catch (...) {
      // The first failure is the one reported; a partial record left at
      // the end is never counted.
    }
    throw;
  }
  return n + 1;
}

size_t RecordFile::commitAppend(const Record& record) {
  std::vector<uint8_t> buf(layout_->recordSize());
  encodeRecord(*layout_, record, buf.data());
  return commitAppendRaw(buf.data());
}

void RecordFile::commitOverwriteRaw(size_t k, const uint8_t* bytes) {
  requireExclusive();
  const size_t size = layout_->recordSize();
  journal::Entry before;
  before.oldSize = fileSize(descriptor(), path_);
  before.offset = (k - 1) * size;
  before.oldBytes.resize(size);
  readRaw(k, before.oldBytes.data());
  const std::filesystem::path journalFile = journal::pathFor(realFile(path_));
  const bool journaled = journal::write(journalFile, before);
  try {
    writeAt(descriptor(), before.offset, bytes, size, path_);
    syncData(descriptor(), path_);
    if (journaled) journal::remove(journalFile);
  } catch (...) {
    // Put the old record back now rather than at the next open: the user
    // is told the save failed, so the archive must not hold it.
    try {
      journal::undo(descriptor(), path_, before);
      if (journaled) journal::remove(journalFile);
    } catch (...) {
      // The journal stays, and the next open for writing undoes the write.
    }
    throw;
  }
}

void RecordFile::commitOverwrite(size_t k, const Record& record) {
  std::vector<uint8_t> buf(layout_->recordSize());
  encodeRecord(*layout_, record, buf.data());
  commitOverwriteRaw(k, buf.data());
}

void RecordFile::scan(const std::function<void(size_t, const uint8_t*)>& visit) const {
  scanRange(1, count(), visit, kScanBlock);
}

void RecordFile::scanRange(size_t first, size_t last, const std::function<void(size_t, const uint8_t*)>& visit,
                           size_t blockBytes) const {
  requireOpen();
  const size_t size = layout_->recordSize();
  const size_t perBlock = std::max<size_t>(1, blockBytes / size);
  std::vector<uint8_t> block(std::min(perBlock, last >= first ? last - first + 1 : 0) * size);
  size_t k = first;
  while (k <= last) {
    const size_t want = std::min(perBlock, last - k + 1) * size;
    readAt(descriptor(), (k - 1) * size, block.data(), want, path_);
    for (size_t off = 0; off < want; off += size) visit(k++, block.data() + off);
  }
}

void RecordFile::scanRecords(const std::function<void(size_t, const Record&)>& visit) const {
  // One record is decoded over and over: its strings keep their storage, so
  // the scan does not allocate per record. The visitor copies what it keeps.
  Record record;
  scan([&](size_t k, const uint8_t* bytes) {
    decodeRecordInto(*layout_, bytes, record);
    visit(k, record);
  });
}

void RecordFile::sync() {
  requireOpen();
  ioStep(IoStep::Sync);
  if (::fsync(descriptor()) != 0) throw StoreError(describeFailure("cannot flush", path_, errno));
}

void RecordFile::close() { file_.close(path_); }

std::optional<RecordFile> openForListing(const std::filesystem::path& path, const Layout& layout, Access access) {
  if (access == Access::ReadOnly) {
    std::error_code ec;
    const auto folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    // A wrong folder is an error, not an empty archive.
    if (!std::filesystem::exists(path, ec) && !ec && std::filesystem::is_directory(folder, ec)) return std::nullopt;
  }
  return access == Access::Update ? RecordFile::openForUpdate(path, layout, Lock::Shared)
                                  : RecordFile::openReadOnly(path, layout);
}

void scanFile(const std::filesystem::path& path, const Layout& layout, Access access,
              const std::function<void(size_t, const uint8_t*)>& visit) {
  std::optional<RecordFile> file = openForListing(path, layout, access);
  if (!file) return;
  file->scan(visit);
  file->close();
}

Record readRecord(const std::filesystem::path& path, const Layout& layout, size_t k) {
  auto file = RecordFile::openForUpdate(path, layout, Lock::Shared);
  Record r = file.read(k);
  file.close();
  return r;
}

std::vector<Record> readAllRecords(const std::filesystem::path& path, const Layout& layout) {
  auto file = RecordFile::openForUpdate(path, layout, Lock::Shared);
  std::vector<Record> all;
  all.reserve(file.count());
  file.scanRecords([&](size_t, const Record& r) { all.push_back(r); });
  file.close();
  return all;
}

}  // namespace zel
