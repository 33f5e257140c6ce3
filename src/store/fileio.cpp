#include "store/fileio.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "store/iohook.h"
#include "store/storeerror.h"

namespace zel {
namespace {

std::atomic<std::chrono::milliseconds::rep> currentWait{2000};

struct flock wholeFile(short type) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 0;  // to the end, however the file grows
  fl.l_pid = 0;  // required for open-file-description locks
  return fl;
}

bool sameIdentity(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A file system without locks (some network mounts answer so) leaves the
// program as it always was, one desk at a time, rather than unusable; the
// user is told so once (see locksRefusedNotice).
bool locksUnsupported(int err) { return err == ENOLCK || err == EINVAL || err == EOPNOTSUPP; }

// Whether a lock was refused in this process, and whether the user was told.
enum LockRefusal { kNoneRefused, kRefusedUntold, kRefusedTold };
std::atomic<int> lockRefusal{kNoneRefused};

void noteLocksRefused() {
  int expected = kNoneRefused;
  lockRefusal.compare_exchange_strong(expected, kRefusedUntold);
}

// 0 when the lock was taken (or the file system takes none), else the reason
// it was not.
int setLock(int fd, short type) {
  struct flock fl = wholeFile(type);
  if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) return 0;
  if (!locksUnsupported(errno)) return errno;
  if (type != F_UNLCK) noteLocksRefused();
  return 0;
}

// The name a file just created takes lasts: flushed with its folder. When
// that fails, the empty file goes again unless another instance already
// holds it, so that a failed action creates nothing.
void makeCreationLast(const FileHandle& file, const std::filesystem::path& path) {
  try {
    syncFolderOf(path);
  } catch (...) {
    if (tryLockFile(file.get(), Lock::Exclusive) && namesFile(path, file.get(), false) &&
        fileSize(file.get(), path) == 0)
      ::unlink(path.c_str());
    throw;
  }
}

}  // namespace

std::chrono::milliseconds lockWait() { return std::chrono::milliseconds(currentWait.load()); }

std::chrono::milliseconds setLockWait(std::chrono::milliseconds wait) {
  return std::chrono::milliseconds(currentWait.exchange(wait.count()));
}

namespace {
thread_local bool waitForLocks = true;
}  // namespace

NoLockWait::NoLockWait() : previous_(std::exchange(waitForLocks, false)) {}
NoLockWait::~NoLockWait() { waitForLocks = previous_; }

Deadline lockDeadline() {
  const auto now = std::chrono::steady_clock::now();
  return waitForLocks ? now + lockWait() : now;
}

std::string describeFailure(const char* what, const std::filesystem::path& path, int err) {
  return std::string(what) + " " + path.string() + ": " + std::strerror(err);
}

void failCall(const char* what, const std::filesystem::path& path, int err) {
  throw StoreError(describeFailure(what, path, err), err);
}

bool locksRefusedNotice() {
  int expected = kRefusedUntold;
  return lockRefusal.compare_exchange_strong(expected, kRefusedTold);
}

bool locksRefused() { return lockRefusal.load() != kNoneRefused; }

FileHandle& FileHandle::operator=(FileHandle&& o) noexcept {
  if (this != &o) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(o.fd_, -1);
  }
  return *this;
}

FileHandle::~FileHandle() {
  if (fd_ >= 0) ::close(fd_);
}

void FileHandle::close(const std::filesystem::path& path) {
  if (fd_ < 0) return;
  ioStep(IoStep::Close);
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) failCall("cannot close", path, errno);
}

void FileHandle::closeLater() {
  if (fd_ < 0) return;
  ioStep(IoStep::Close);
  const int fd = std::exchange(fd_, -1);
  try {
    std::thread([fd] { ::close(fd); }).detach();
  } catch (const std::system_error&) {
    ::close(fd);  // no thread to be had: now
  }
}

namespace {

int openNonBlocking(const std::filesystem::path& path, int flags, mode_t mode) {
  int fd;
  // O_NONBLOCK: opening a FIFO would otherwise wait for a writer forever.
  do {
    fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Opens an existing file (following links), or creates it where it is
// missing. A new file is never made through a link: a link to nothing in an
// archive's place would otherwise create a file wherever it points (in a
// folder of the administrator's, when the administrator runs the program).
int openOrCreate(const std::filesystem::path& path, int flags, mode_t mode, bool& created) {
  created = false;
  if (!(flags & O_CREAT) || (flags & O_EXCL)) return openNonBlocking(path, flags, mode);
  for (int attempt = 0; attempt < 16; ++attempt) {
    int fd = openNonBlocking(path, flags & ~O_CREAT, 0);
    if (fd >= 0 || errno != ENOENT) return fd;
    fd = openNonBlocking(path, flags | O_EXCL | O_NOFOLLOW, mode);
    if (fd >= 0) {
      created = true;
      return fd;
    }
    if (errno != EEXIST) return fd;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0) {
      errno = ELOOP;  // a link to nothing
      return -1;
    }
    // Another instance created it between the two opens: open theirs.
  }
  errno = EBUSY;
  return -1;
}

}  // namespace

FileHandle openRegular(const std::filesystem::path& path, int flags, mode_t mode) {
  ioStep(IoStep::Open);
  bool created = false;
  const int fd = openOrCreate(path, flags, mode, created);
  if (fd < 0) failCall("cannot open", path, errno);
  FileHandle file(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0) failCall("cannot examine", path, errno);
  if (!S_ISREG(st.st_mode))
    throw StoreError(describeFailure("not a record file:", path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL));
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (created) makeCreationLast(file, path);
  return file;
}

bool tryLockFile(int fd, Lock lock) { return setLock(fd, lock == Lock::Exclusive ? F_WRLCK : F_RDLCK) == 0; }

void unlockFile(int fd) { setLock(fd, F_UNLCK); }

void lockFile(int fd, Lock lock, const std::filesystem::path& path, Deadline deadline) {
  if (ioStep(IoStep::Lock) == Fault::Refused) {
    noteLocksRefused();  // as a file system without locks answers
    return;
  }
  // Polling rather than a blocking wait: a wait bounded by a timer would need
  // a signal, and the other instance's action lasts milliseconds.
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    const int err = setLock(fd, lock == Lock::Exclusive ? F_WRLCK : F_RDLCK);
    if (err == 0) return;
    if (err != EAGAIN && err != EACCES && err != EINTR)
      failCall("cannot lock", path, err);
    if (std::chrono::steady_clock::now() >= deadline)
      throw StoreBusy("busy: " + path.string() + " is in use by another instance");
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
}

bool namesFile(const std::filesystem::path& path, int fd, bool followLinks) {
  struct stat byPath {}, byFd {};
  const int r = followLinks ? ::stat(path.c_str(), &byPath) : ::lstat(path.c_str(), &byPath);
  return r == 0 && ::fstat(fd, &byFd) == 0 && sameIdentity(byPath, byFd);
}

FileHandle openLocked(const std::filesystem::path& path, int flags, Lock lock) {
  const Deadline deadline = lockDeadline();
  for (;;) {
    FileHandle file = openRegular(path, flags);
    lockFile(file.get(), lock, path, deadline);
    ioStep(IoStep::Check);
    if (namesFile(path, file.get())) return file;
    // Replaced (or removed) while we waited: the next open finds what the
    // path names now, or fails as a missing file would.
    if (std::chrono::steady_clock::now() >= deadline)
      throw StoreBusy("busy: " + path.string() + " keeps being replaced");
  }
}

void syncFolderOf(const std::filesystem::path& file) {
  const auto folder = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
  ioStep(IoStep::SyncFolder);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) failCall("cannot open the folder", folder, errno);
  const int r = ::fsync(fd);
  const int err = errno;
  ::close(fd);
  // Some file systems do not flush folders at all; that is no failure.
  if (r != 0 && err != EINVAL && err != ENOTSUP && err != EROFS)
    failCall("cannot flush the folder", folder, err);
}

std::filesystem::path realFile(const std::filesystem::path& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

}  // namespace zel

namespace zel {

void readAt(int fd, uint64_t offset, uint8_t* out, size_t size, const std::filesystem::path& path) {
  ioStep(IoStep::Read);
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, out + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) failCall("cannot read", path, errno);
    if (n == 0) throw StoreError("cannot read " + path.string() + ": the file ends before the record");
    done += static_cast<size_t>(n);
  }
}

void writeAt(int fd, uint64_t offset, const uint8_t* bytes, size_t size, const std::filesystem::path& path) {
  // A short write (injected) stores the first half, as a full disk would.
  const bool cut = ioStep(IoStep::Write) == Fault::Short;
  const size_t want = cut ? size / 2 : size;
  size_t done = 0;
  while (done < want) {
    const ssize_t n = ::pwrite(fd, bytes + done, want - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) failCall("cannot write", path, n < 0 ? errno : ENOSPC);
    done += static_cast<size_t>(n);
  }
  if (cut) failCall("cannot write", path, ENOSPC);
}

namespace {

// The errors by which copy_file_range says it cannot copy between these two
// files at all, rather than that the copy went wrong.
bool kernelCannotCopy(int err) {
  return err == EXDEV || err == ENOSYS || err == EOPNOTSUPP || err == ENOTSUP || err == EINVAL;
}

[[noreturn]] void sourceEnded(const std::filesystem::path& source) {
  throw StoreError("cannot read " + source.string() + ": the file ends before the record");
}

// The copy through this process, in blocks, for what the kernel would not copy.
void copyByReading(int from, uint64_t fromOffset, int to, uint64_t toOffset, uint64_t size,
                   const std::filesystem::path& source, const std::filesystem::path& target) {
  constexpr size_t kBlock = 1 << 20;
  std::vector<uint8_t> block(static_cast<size_t>(std::min<uint64_t>(size, kBlock)));
  uint64_t done = 0;
  while (done < size) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(size - done, block.size()));
    const ssize_t n = ::pread(from, block.data(), want, static_cast<off_t>(fromOffset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) failCall("cannot read", source, errno);
    if (n == 0) sourceEnded(source);
    size_t written = 0;
    while (written < static_cast<size_t>(n)) {
      const ssize_t w = ::pwrite(to, block.data() + written, static_cast<size_t>(n) - written,
                                 static_cast<off_t>(toOffset + done + written));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) failCall("cannot write", target, w < 0 ? errno : ENOSPC);
      written += static_cast<size_t>(w);
    }
    done += static_cast<uint64_t>(n);
  }
}

}  // namespace

void copyRange(int from, uint64_t fromOffset, int to, uint64_t toOffset, uint64_t size,
               const std::filesystem::path& source, const std::filesystem::path& target) {
  ioStep(IoStep::Read);
  // A short write (injected) copies the first half, as a full disk would.
  const bool cut = ioStep(IoStep::Write) == Fault::Short;
  const uint64_t want = cut ? size / 2 : size;
  uint64_t done = 0;
  while (done < want) {
    auto in = static_cast<off_t>(fromOffset + done);
    auto out = static_cast<off_t>(toOffset + done);
    const ssize_t n = ::copy_file_range(from, &in, to, &out, static_cast<size_t>(want - done), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && kernelCannotCopy(errno)) {
      copyByReading(from, fromOffset + done, to, toOffset + done, want - done, source, target);
      break;
    }
    if (n < 0) failCall("cannot copy into", target, errno);
    if (n == 0) sourceEnded(source);
    done += static_cast<uint64_t>(n);
  }
  if (cut) failCall("cannot write", target, ENOSPC);
}

void syncData(int fd, const std::filesystem::path& path) {
  ioStep(IoStep::Sync);
  if (::fdatasync(fd) != 0) failCall("cannot flush", path, errno);
}

void syncAll(int fd, const std::filesystem::path& path) {
  ioStep(IoStep::Sync);
  if (::fsync(fd) != 0) failCall("cannot flush", path, errno);
}

bool flushesCarryNames(const std::filesystem::path& file) {
  // The magic numbers of <linux/magic.h>.
  constexpr long kExt4 = 0xEF53, kXfs = 0x58465342, kTmpfs = 0x01021994, kNfs = 0x6969;
  const auto folder = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
  struct statfs fs {};
  if (::statfs(folder.c_str(), &fs) != 0) return false;
  const long type = static_cast<long>(fs.f_type);
  return type == kExt4 || type == kXfs || type == kTmpfs || type == kNfs;
}

void truncateTo(int fd, uint64_t size, const std::filesystem::path& path) {
  ioStep(IoStep::Truncate);
  if (::ftruncate(fd, static_cast<off_t>(size)) != 0)
    failCall("cannot truncate", path, errno);
}

uint64_t fileSize(int fd, const std::filesystem::path& path) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) failCall("cannot measure", path, errno);
  return static_cast<uint64_t>(st.st_size);
}

}  // namespace zel
