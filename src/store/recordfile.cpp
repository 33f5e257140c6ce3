#include "store/recordfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "store/fileview.h"
#include "store/iohook.h"
#include "store/journal.h"

namespace zel {
namespace {

constexpr size_t kScanBlock = 1 << 20;  // bytes read at once by a scan

std::filesystem::path journalOf(const std::filesystem::path& archive) {
  return journal::pathFor(realFile(archive));
}

// Puts bytes kept in memory back where a failed write went, and the size the
// file had: the undo of a write that failed while this process still runs.
void putBack(int fd, const std::filesystem::path& path, uint64_t offset, const std::vector<uint8_t>& bytes,
             uint64_t size) {
  writeAt(fd, offset, bytes.data(), bytes.size(), path);
  truncateTo(fd, size, path);
  syncData(fd, path);
}

// Records ahead of the one visited whose pages are fetched meanwhile: a
// record spans a page or more, so nothing else fetches them early.
constexpr size_t kLookAhead = 4;

// A view found pages of the file missing: it is shorter than the records
// being read (another program shortened it), or the disk failed to read them.
[[noreturn]] void failLostPages(int fd, uint64_t needed, const std::filesystem::path& path) {
  struct stat st {};
  if (::fstat(fd, &st) == 0 && static_cast<uint64_t>(st.st_size) < needed)
    throw StoreError("cannot read " + path.string() + ": the file ends before the record");
  failCall("cannot read", path, EIO);
}

}  // namespace

RecordFile::RecordFile(FileHandle file, std::filesystem::path path, const Layout& layout, bool exclusive)
    : file_(std::move(file)), path_(std::move(path)), layout_(&layout), exclusive_(exclusive) {}

RecordFile RecordFile::open(const std::filesystem::path& path, const Layout& layout, int flags, Lock lock,
                            bool settleJournal) {
  for (;;) {
    FileHandle file = openLocked(path, flags, lock);
    // A journal left by an overwrite that never finished is settled before
    // anyone reads or writes. A writer does it at once; a reader, whose
    // descriptor is read-only, lets go and settles it as a writer would.
    const std::filesystem::path pending = journalOf(path);
    if (!settleJournal || !journal::exists(pending))
      return RecordFile(std::move(file), path, layout, lock == Lock::Exclusive);
    if (lock == Lock::Exclusive) {
      journal::settle(pending, file.get(), path, layout.recordSize());
      return RecordFile(std::move(file), path, layout, true);
    }
    file = FileHandle();
    settlePendingJournal(path, layout);
  }
}

// Only a writer's descriptor is opened for writing: a reader needs no more
// than the right to read, and a shared lock holds on a read-only descriptor.
int RecordFile::accessFlags(Lock lock) { return lock == Lock::Exclusive ? O_RDWR : O_RDONLY; }

RecordFile RecordFile::openForUpdate(const std::filesystem::path& path, const Layout& layout, Lock lock) {
  return open(path, layout, accessFlags(lock) | O_CREAT, lock, true);
}

RecordFile RecordFile::openExisting(const std::filesystem::path& path, const Layout& layout, Lock lock) {
  return open(path, layout, accessFlags(lock), lock, true);
}

RecordFile RecordFile::openReadOnly(const std::filesystem::path& path, const Layout& layout) {
  return open(path, layout, O_RDONLY, Lock::Shared, false);
}

RecordFile RecordFile::createEmpty(const std::filesystem::path& path, const Layout& layout) {
  RecordFile f = open(path, layout, O_RDWR | O_CREAT, Lock::Exclusive, true);
  // An existing file keeps its rights, owner and group; a new one gets the
  // rights every new file of the program gets (openRegular).
  truncateTo(f.descriptor(), 0, path);
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
  const uint64_t oldSize = fileSize(descriptor(), path_);
  const size_t n = static_cast<size_t>(oldSize / size);
  const uint64_t offset = static_cast<uint64_t>(n) * size;
  std::vector<uint8_t> tail(static_cast<size_t>(oldSize - offset));
  readAt(descriptor(), offset, tail.data(), tail.size(), path_);
  try {
    writeAt(descriptor(), offset, bytes, size, path_);
    syncData(descriptor(), path_);
  } catch (...) {
    try {
      putBack(descriptor(), path_, offset, tail, oldSize);
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
  const std::filesystem::path real = realFile(path_);
  journal::Entry entry;
  entry.archiveName = real.filename().string();
  entry.archiveSize = fileSize(descriptor(), path_);
  entry.offset = static_cast<uint64_t>(k - 1) * size;
  entry.oldBytes.resize(size);
  readRaw(k, entry.oldBytes.data());
  entry.newBytes.assign(bytes, bytes + size);
  const std::filesystem::path journalFile = journal::pathFor(real);
  const bool journaled = journal::write(journalFile, entry);
  try {
    writeAt(descriptor(), entry.offset, bytes, size, path_);
    syncData(descriptor(), path_);
    if (journaled) journal::remove(journalFile);
  } catch (...) {
    // Put the old record back now rather than at the next open: the user
    // is told the save failed, so the archive must not hold it.
    try {
      putBack(descriptor(), path_, entry.offset, entry.oldBytes, entry.archiveSize);
      if (journaled) journal::remove(journalFile);
    } catch (...) {
      // The journal stays, and the next open settles it.
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
                           size_t blockBytes, const ScanThrough& through) const {
  requireOpen();
  if (last < first) return;
  const size_t size = layout_->recordSize();
  const size_t perBlock = std::max<size_t>(1, blockBytes / size);
  std::vector<uint8_t> block(std::min(perBlock, last - first + 1) * size);
  if (through.viewWhereCheaper) {
    FileView view(descriptor(), uint64_t{first - 1} * size, (last - first + 1) * size);
    if (view.cheaperThanReading(descriptor(), block))
      return visitInView(view, first, last, perBlock, through.offsetsRead, visit);
  }
  size_t k = first;
  while (k <= last) {
    const size_t want = std::min(perBlock, last - k + 1) * size;
    readAt(descriptor(), (k - 1) * size, block.data(), want, path_);
    for (size_t off = 0; off < want; off += size) visit(k++, block.data() + off);
  }
}

void RecordFile::visitInView(const FileView& view, size_t first, size_t last, size_t perBlock,
                             const std::vector<size_t>& offsetsRead,
                             const std::function<void(size_t, const uint8_t*)>& visit) const {
  // A block is still announced as one read, so that a test's failure lands
  // where it would land on the reads.
  const size_t size = layout_->recordSize();
  for (size_t k = first; k <= last;) {
    ioStep(IoStep::Read);
    for (const size_t end = std::min(last, k + perBlock - 1); k <= end; ++k) {
      const uint8_t* bytes = view.at(uint64_t{k - 1} * size);
      if (k + kLookAhead <= last) view.prefetch(bytes + kLookAhead * size, size, offsetsRead);
      // Asked before the visit, so that no record is listed from zeros; a
      // page lost during the visit itself (the other program's shortening
      // comes in that very moment) is told after it, and wins over what
      // the visit made of the zeros.
      if (!view.whole(bytes, size)) failLostPages(descriptor(), uint64_t{last} * size, path_);
      try {
        visit(k, bytes);
      } catch (...) {
        if (!view.intact()) failLostPages(descriptor(), uint64_t{last} * size, path_);
        throw;
      }
      if (!view.intact()) failLostPages(descriptor(), uint64_t{last} * size, path_);
    }
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
  return access == Access::Update     ? RecordFile::openForUpdate(path, layout, Lock::Shared)
         : access == Access::Existing ? RecordFile::openExisting(path, layout, Lock::Shared)
                                      : RecordFile::openReadOnly(path, layout);
}

void scanFile(const std::filesystem::path& path, const Layout& layout, Access access,
              const std::function<void(size_t, const uint8_t*)>& visit) {
  std::optional<RecordFile> file = openForListing(path, layout, access);
  if (!file) return;
  file->scan(visit);
  file->close();
}

bool settlePendingJournal(const std::filesystem::path& archive, const Layout& layout) {
  const std::filesystem::path pending = journalOf(archive);
  if (!journal::exists(pending)) return false;
  FileHandle file;
  try {
    file = openLocked(archive, O_RDWR, Lock::Exclusive);
  } catch (const StoreBusy&) {
    throw;
  } catch (const StoreError& e) {
    // No archive at all is no place for the journal; any other failure
    // (most often the right to write) may not stop another desk.
    std::error_code ec;
    const bool missing = !std::filesystem::exists(archive, ec) && !ec;
    using Reason = journal::JournalRefused::Reason;
    throw journal::JournalRefused(pending, missing ? Reason::DoesNotFit : Reason::CannotApply,
                                  std::string("the journal ") + pending.string() +
                                      " of an interrupted save cannot be applied: " + e.what() +
                                      "; it is left as it is");
  }
  const bool applied = journal::settle(pending, file.get(), archive, layout.recordSize());
  file.close(archive);
  return applied;
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
