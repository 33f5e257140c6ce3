#include "store/rewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "store/iohook.h"

namespace zel {
namespace {

constexpr size_t kCopyBlock = 1 << 20;  // bytes gathered before each write

[[noreturn]] void fail(const char* what, const std::filesystem::path& path) { failCall(what, path, errno); }

// Removes whatever a crash left in the temporary file's place. A regular
// file is locked first: if another instance is using it right now (a
// deletion in another supply file of the same folder shares the name), this
// waits for it like for an archive. A leftover of another user's that this
// one may not write (a crash leaves it with its owner's rights only) is
// still removed, as the folder allows: it is opened to read, and a shared
// lock tells that no rewrite is filling it.
void removeLeftover(const std::filesystem::path& temp, Deadline deadline) {
  ioStep(IoStep::Open);
  Lock lock = Lock::Exclusive;
  int fd = ::open(temp.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0 && (errno == EACCES || errno == EPERM)) {
    lock = Lock::Shared;
    fd = ::open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  }
  if (fd < 0 && errno == ENOENT) return;
  // Not even readable: a rewrite under way gives its copy the file's rights
  // at once, so this one was left by a crash.
  if (fd < 0 && errno != ELOOP && errno != EACCES && errno != EPERM) fail("cannot open", temp);  // a folder
  FileHandle leftover(fd);
  struct stat st {};
  if (leftover && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    lockFile(fd, lock, temp, deadline);
    if (!namesFile(temp, fd, false)) return;  // gone meanwhile
  }
  // A link (ELOOP), FIFO or device in the temporary file's place is removed
  // without being followed or opened for use.
  ioStep(IoStep::Remove);
  if (::unlink(temp.c_str()) != 0 && errno != ENOENT) fail("cannot remove", temp);
}

// Creates the temporary file afresh (0666 less the umask, as every file the
// program makes, never through a link) and locks it, so that no other
// instance ever takes it for a leftover while this one fills it.
FileHandle claimTemp(const std::filesystem::path& temp) {
  const Deadline deadline = lockDeadline();
  for (;;) {
    removeLeftover(temp, deadline);
    ioStep(IoStep::Open);
    const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
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

// The copy takes the file's place, so it takes its rights, owner and group
// too. Only the administrator may give a file away: for anyone else the copy
// becomes theirs, but keeps the file's group when they belong to it (the
// group of a folder shared by several users), so the others keep their
// access.
void keepModeAndOwner(int copy, int original, const std::filesystem::path& temp, const std::string& noun) {
  struct stat st {};
  if (::fstat(original, &st) != 0) {
    const int err = errno;  // before the message is built
    failCall(("cannot examine the " + noun + " for").c_str(), temp, err);
  }
  ioStep(IoStep::Chmod);
  if (::fchmod(copy, st.st_mode & 07777) != 0) fail("cannot set the rights of", temp);
  struct stat mine {};
  if (::fstat(copy, &mine) != 0) fail("cannot examine", temp);
  if (mine.st_uid == st.st_uid && mine.st_gid == st.st_gid) return;
  if (::fchown(copy, st.st_uid, st.st_gid) == 0 || ::fchown(copy, static_cast<uid_t>(-1), st.st_gid) == 0)
    ::fchmod(copy, st.st_mode & 07777);  // a change of owner or group drops set-id bits
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
                 const RewriteFill& fill, const std::function<void(DeleteStep)>& checkpoint, const char* noun) {
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
    keepModeAndOwner(tempFd, lockedFd, temp, noun);
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
    if (::rename(temp.c_str(), real.c_str()) != 0) {
      const int err = errno;  // before the message is built
      failCall(("cannot replace the " + std::string(noun) + " with").c_str(), temp, err);
    }
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
