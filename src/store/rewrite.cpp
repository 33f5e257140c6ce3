#include "store/rewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "store/iohook.h"

namespace zel {
namespace {

constexpr size_t kCopyBlock = 1 << 20;  // bytes gathered before each write

[[noreturn]] void fail(const char* what, const std::filesystem::path& path) {
  throw StoreError(describeFailure(what, path, errno));
}

// Removes whatever a crash left in the temporary file's place. A regular
// file is locked first: if another instance is using it right now (a
// deletion in another supply file of the same folder shares the name), this
// waits for it like for an archive.
void removeLeftover(const std::filesystem::path& temp, Deadline deadline) {
  ioStep(IoStep::Open);
  const int fd = ::open(temp.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) return;
  if (fd < 0 && errno != ELOOP) fail("cannot open", temp);  // a folder, or no right to it
  FileHandle leftover(fd);
  struct stat st {};
  if (leftover && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    lockFile(fd, Lock::Exclusive, temp, deadline);
    if (!namesFile(temp, fd, false)) return;  // gone meanwhile
  }
  // A link (ELOOP), FIFO or device in the temporary file's place is removed
  // without being followed or opened for use.
  ioStep(IoStep::Remove);
  if (::unlink(temp.c_str()) != 0 && errno != ENOENT) fail("cannot remove", temp);
}

// Creates the temporary file afresh and locks it, so that no other instance
// ever takes it for a leftover while this one fills it.
FileHandle claimTemp(const std::filesystem::path& temp) {
  const Deadline deadline = lockDeadline();
  for (;;) {
    removeLeftover(temp, deadline);
    ioStep(IoStep::Open);
    const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) fail("cannot create", temp);
    if (fd >= 0) {
      FileHandle file(fd);
      if (tryLockFile(fd, Lock::Exclusive) && namesFile(temp, fd, false)) return file;
    }
    // Another instance got there between the removal and the creation.
    if (std::chrono::steady_clock::now() >= deadline)
      throw StoreBusy("busy: " + temp.string() + " is in use by another instance");
  }
}

// The copy takes the file's place, so it takes its rights and owner too.
// Only the administrator may give a file away: for anyone else the copy stays
// theirs, as the files they create always are.
void keepModeAndOwner(int copy, int original, const std::filesystem::path& temp) {
  struct stat st {};
  if (::fstat(original, &st) != 0) fail("cannot examine the file replaced by", temp);
  ioStep(IoStep::Chmod);
  if (::fchmod(copy, st.st_mode & 07777) != 0) fail("cannot set the rights of", temp);
  if ((st.st_uid != ::geteuid() || st.st_gid != ::getegid()) && ::fchown(copy, st.st_uid, st.st_gid) == 0)
    ::fchmod(copy, st.st_mode & 07777);  // a change of owner drops set-id bits
}

// Gathers records into large blocks so that a rewrite costs few writes.
class BlockWriter {
 public:
  BlockWriter(int fd, const std::filesystem::path& path, size_t recordSize)
      : fd_(fd), path_(path), recordSize_(recordSize) {
    block_.reserve(std::max<size_t>(1, kCopyBlock / recordSize) * recordSize);
  }
  uint8_t* next() {
    if (block_.size() + recordSize_ > block_.capacity()) flush();
    block_.resize(block_.size() + recordSize_);
    return block_.data() + block_.size() - recordSize_;
  }
  void flush() {
    if (block_.empty()) return;
    writeAt(fd_, written_, block_.data(), block_.size(), path_);
    written_ += block_.size();
    block_.clear();
  }

 private:
  int fd_;
  const std::filesystem::path& path_;
  size_t recordSize_;
  std::vector<uint8_t> block_;
  uint64_t written_ = 0;
};

}  // namespace

void rewriteFile(const std::filesystem::path& file, int lockedFd, const std::filesystem::path& tempName,
                 const RewriteFill& fill, const std::function<void(DeleteStep)>& checkpoint) {
  auto step = [&](DeleteStep s) {
    if (checkpoint) checkpoint(s);
  };
  // The copy lies beside the real file, where a rename over it is atomic.
  const std::filesystem::path real = realFile(file);
  if (!namesFile(real, lockedFd)) throw StoreError(file.string() + " changed while it was opened");
  const std::filesystem::path temp = real.parent_path() / tempName.filename();

  step(DeleteStep::CreateTemp);
  FileHandle claimed = claimTemp(temp);
  const int tempFd = claimed.get();
  bool renamed = false;
  try {
    keepModeAndOwner(tempFd, lockedFd, temp);
    step(DeleteStep::Copy);
    fill(tempFd, temp);
    step(DeleteStep::Sync);
    ioStep(IoStep::Sync);
    if (::fsync(tempFd) != 0) fail("cannot flush", temp);
    // Both files stay open, and locked, until the copy has taken the
    // file's place.
    step(DeleteStep::Close);
    step(DeleteStep::Replace);
    ioStep(IoStep::Rename);
    if (::rename(temp.c_str(), real.c_str()) != 0) fail("cannot replace the file with", temp);
    renamed = true;
    syncFolderOf(real);
  } catch (...) {
    // The file is untouched; the unfinished copy goes (it is still ours:
    // nobody removes a locked temporary file).
    if (!renamed && namesFile(temp, tempFd, false)) ::unlink(temp.c_str());
    throw;
  }
  claimed.close(temp);
}

void rewriteWithChanges(const RecordFile& archive, const std::filesystem::path& tempName,
                        const RecordChanges& changes) {
  const Layout& layout = archive.layout();
  const size_t size = layout.recordSize();
  // Overwrites in record order, so one pass over the archive meets them all.
  std::vector<const std::pair<size_t, Record>*> overwrites;
  for (const auto& o : changes.overwrites) overwrites.push_back(&o);
  std::stable_sort(overwrites.begin(), overwrites.end(),
                   [](const auto* a, const auto* b) { return a->first < b->first; });
  rewriteFile(archive.path(), archive.descriptor(), tempName, [&](int fd, const std::filesystem::path& temp) {
    BlockWriter out(fd, temp, size);
    auto next = overwrites.begin();
    archive.scan([&](size_t k, const uint8_t* bytes) {
      const Record* replacement = nullptr;
      for (; next != overwrites.end() && (*next)->first == k; ++next) replacement = &(*next)->second;
      if (replacement)
        encodeRecord(layout, *replacement, out.next());
      else
        std::copy(bytes, bytes + size, out.next());
    });
    if (next != overwrites.end())
      throw StoreError("no record " + std::to_string((*next)->first) + " in " + archive.path().string());
    for (const Record& r : changes.appends) encodeRecord(layout, r, out.next());
    out.flush();
  });
}

}  // namespace zel
