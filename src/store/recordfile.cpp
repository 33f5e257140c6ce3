#include "store/recordfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace zel {
namespace {

// Archives hold card numbers and IBANs: owner read and write only.
constexpr mode_t kPrivateMode = S_IRUSR | S_IWUSR;
constexpr size_t kScanBlock = 1 << 20;  // bytes read at once by a scan

int openFd(const std::filesystem::path& path, int flags) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, kPrivateMode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

std::string describe(const std::filesystem::path& path, const char* what) {
  return std::string(what) + " " + path.string() + ": " + std::strerror(errno);
}

void syncFolder(const std::filesystem::path& file) {
  const auto folder = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);  // best effort: some file systems refuse it on folders
    ::close(fd);
  }
}

}  // namespace

RecordFile::RecordFile(int fd, std::filesystem::path path, const Layout& layout)
    : fd_(fd), path_(std::move(path)), layout_(&layout) {}

RecordFile::RecordFile(RecordFile&& o) noexcept
    : fd_(o.fd_), path_(std::move(o.path_)), layout_(o.layout_) {
  o.fd_ = -1;
}

RecordFile& RecordFile::operator=(RecordFile&& o) noexcept {
  if (this != &o) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = o.fd_;
    path_ = std::move(o.path_);
    layout_ = o.layout_;
    o.fd_ = -1;
  }
  return *this;
}

RecordFile::~RecordFile() {
  if (fd_ >= 0) ::close(fd_);
}

RecordFile RecordFile::openForUpdate(const std::filesystem::path& path, const Layout& layout) {
  const int fd = openFd(path, O_RDWR | O_CREAT);
  if (fd < 0) throw StoreError(describe(path, "cannot open"));
  return RecordFile(fd, path, layout);
}

RecordFile RecordFile::openExisting(const std::filesystem::path& path, const Layout& layout) {
  const int fd = openFd(path, O_RDWR);
  if (fd < 0) throw StoreError(describe(path, "cannot open"));
  return RecordFile(fd, path, layout);
}

RecordFile RecordFile::openReadOnly(const std::filesystem::path& path, const Layout& layout) {
  const int fd = openFd(path, O_RDONLY);
  if (fd < 0) throw StoreError(describe(path, "cannot open"));
  return RecordFile(fd, path, layout);
}

RecordFile RecordFile::createEmpty(const std::filesystem::path& path, const Layout& layout) {
  const int fd = openFd(path, O_RDWR | O_CREAT | O_TRUNC);
  if (fd < 0) throw StoreError(describe(path, "cannot create"));
  ::fchmod(fd, kPrivateMode);  // a leftover file may carry wider rights
  return RecordFile(fd, path, layout);
}

void RecordFile::fail(const char* what) const { throw StoreError(describe(path_, what)); }

size_t RecordFile::count() const {
  if (fd_ < 0) throw StoreError("file not open");
  struct stat st {};
  if (::fstat(fd_, &st) != 0) fail("cannot measure");
  if (!S_ISREG(st.st_mode)) {
    errno = EISDIR;
    fail("not a record file:");
  }
  return static_cast<size_t>(st.st_size) / layout_->recordSize();
}

void RecordFile::readRaw(size_t k, uint8_t* out) const {
  if (k < 1 || k > count()) {
    errno = ERANGE;
    fail("no such record in");
  }
  const size_t size = layout_->recordSize();
  const auto offset = static_cast<off_t>((k - 1) * size);
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd_, out + done, size - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail("cannot read");
    done += static_cast<size_t>(n);
  }
}

Record RecordFile::read(size_t k) const {
  std::vector<uint8_t> buf(layout_->recordSize());
  readRaw(k, buf.data());
  return decodeRecord(*layout_, buf.data());
}

void RecordFile::writeAt(uint64_t offset, const uint8_t* bytes, size_t size) {
  if (fd_ < 0) throw StoreError("file not open");
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd_, bytes + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail("cannot write");
    done += static_cast<size_t>(n);
  }
}

void RecordFile::overwriteRaw(size_t k, const uint8_t* bytes) {
  if (k < 1 || k > count()) {
    errno = ERANGE;
    fail("no such record in");
  }
  writeAt((k - 1) * layout_->recordSize(), bytes, layout_->recordSize());
}

void RecordFile::overwrite(size_t k, const Record& record) {
  std::vector<uint8_t> buf(layout_->recordSize());
  encodeRecord(*layout_, record, buf.data());
  overwriteRaw(k, buf.data());
}

size_t RecordFile::appendRaw(const uint8_t* bytes, size_t records) {
  const size_t n = count();
  writeAt(n * layout_->recordSize(), bytes, records * layout_->recordSize());
  return n + records;
}

size_t RecordFile::append(const Record& record) {
  std::vector<uint8_t> buf(layout_->recordSize());
  encodeRecord(*layout_, record, buf.data());
  return appendRaw(buf.data());
}

void RecordFile::scan(const std::function<void(size_t, const uint8_t*)>& visit) const {
  const size_t size = layout_->recordSize();
  const size_t total = count();
  const size_t perBlock = std::max<size_t>(1, kScanBlock / size);
  std::vector<uint8_t> block(perBlock * size);
  size_t k = 1;
  while (k <= total) {
    const size_t want = std::min(perBlock, total - k + 1) * size;
    size_t done = 0;
    while (done < want) {
      const ssize_t n = ::pread(fd_, block.data() + done, want - done,
                                static_cast<off_t>((k - 1) * size + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) fail("cannot read");
      done += static_cast<size_t>(n);
    }
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
  if (fd_ < 0 || ::fsync(fd_) != 0) fail("cannot flush");
}

void RecordFile::close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) fail("cannot close");
}

void scanFile(const std::filesystem::path& path, const Layout& layout, Access access,
              const std::function<void(size_t, const uint8_t*)>& visit) {
  if (access == Access::ReadOnly) {
    std::error_code ec;
    const auto folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    // A wrong folder is an error, not an empty archive.
    if (!std::filesystem::exists(path, ec) && !ec && std::filesystem::is_directory(folder, ec)) return;
  }
  auto file = access == Access::Update ? RecordFile::openForUpdate(path, layout)
                                       : RecordFile::openReadOnly(path, layout);
  file.scan(visit);
  file.close();
}

Record readRecord(const std::filesystem::path& path, const Layout& layout, size_t k) {
  auto file = RecordFile::openForUpdate(path, layout);
  Record r = file.read(k);
  file.close();
  return r;
}

std::vector<Record> readAllRecords(const std::filesystem::path& path, const Layout& layout) {
  auto file = RecordFile::openForUpdate(path, layout);
  std::vector<Record> all;
  all.reserve(file.count());
  file.scanRecords([&](size_t, const Record& r) { all.push_back(r); });
  file.close();
  return all;
}

void deleteRecordByCopy(const std::filesystem::path& archive,
                        const std::filesystem::path& tempPath, const Layout& layout,
                        size_t k, const std::function<void(DeleteStep)>& checkpoint) {
  auto step = [&](DeleteStep s) {
    if (checkpoint) checkpoint(s);
  };
  step(DeleteStep::OpenArchive);
  auto source = RecordFile::openExisting(archive, layout);
  // Fails here on a folder or an unreadable file; a record number past the
  // end would delete nothing, so it is a failure rather than a silent success.
  if (k < 1 || k > source.count()) throw StoreError("no record " + std::to_string(k) + " in " + archive.string());
  step(DeleteStep::CreateTemp);
  auto copy = RecordFile::createEmpty(tempPath, layout);
  step(DeleteStep::Copy);
  // Kept records are gathered into blocks so the copy costs few writes.
  const size_t size = layout.recordSize();
  const size_t perBlock = std::max<size_t>(1, kScanBlock / size);
  std::vector<uint8_t> block;
  block.reserve(perBlock * size);
  auto flush = [&] {
    if (!block.empty()) copy.appendRaw(block.data(), block.size() / size);
    block.clear();
  };
  source.scan([&](size_t i, const uint8_t* bytes) {
    if (i == k) return;
    block.insert(block.end(), bytes, bytes + size);
    if (block.size() / size == perBlock) flush();
  });
  flush();
  step(DeleteStep::Sync);
  copy.sync();
  step(DeleteStep::Close);
  copy.close();
  source.close();
  step(DeleteStep::Replace);
  std::error_code ec;
  std::filesystem::rename(tempPath, archive, ec);
  if (ec) throw StoreError("cannot replace " + archive.string() + ": " + ec.message());
  syncFolder(archive);
}

}  // namespace zel
