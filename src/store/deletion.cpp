// Delete by copy: every record but one is copied into a temporary file, which
// is then renamed over the archive.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "store/iohook.h"
#include "store/recordfile.h"

namespace zel {
namespace {

[[noreturn]] void fail(const char* what, const std::filesystem::path& path) { failCall(what, path, errno); }

// Removes whatever a crash left in the temporary file's place. A regular
// file is locked first: if another instance is using it right now (a
// deletion in another supply file of the same folder shares the name), this
// waits for it like for an archive. A leftover of another user's that this
// one may not write (a crash leaves it with its owner's rights only) is
// still removed, as the folder allows: it is opened to read, and a shared
// lock tells that no deletion is filling it.
void removeLeftover(const std::filesystem::path& temp, Deadline deadline) {
  ioStep(IoStep::Open);
  Lock lock = Lock::Exclusive;
  int fd = ::open(temp.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0 && (errno == EACCES || errno == EPERM)) {
    lock = Lock::Shared;
    fd = ::open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  }
  if (fd < 0 && errno == ENOENT) return;
  // Not even readable: a deletion under way gives its copy the archive's
  // rights at once, so this one was left by a crash.
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

// Creates the temporary file afresh and locks it, so that no other instance
// ever takes it for a leftover while this one fills it.
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

// The copy takes the archive's place, so it takes its rights, owner and
// group too. Only the administrator may give a file away: for anyone else
// the copy becomes theirs, but keeps the archive's group when they belong to
// it (the group of a folder shared by several users), so the others keep
// their access.
void keepModeAndOwner(int copy, int archive, const std::filesystem::path& temp) {
  struct stat st {};
  if (::fstat(archive, &st) != 0) fail("cannot examine the archive for", temp);
  ioStep(IoStep::Chmod);
  if (::fchmod(copy, st.st_mode & 07777) != 0) fail("cannot set the rights of", temp);
  struct stat mine {};
  if (::fstat(copy, &mine) != 0) fail("cannot examine", temp);
  if (mine.st_uid == st.st_uid && mine.st_gid == st.st_gid) return;
  if (::fchown(copy, st.st_uid, st.st_gid) == 0 || ::fchown(copy, static_cast<uid_t>(-1), st.st_gid) == 0)
    ::fchmod(copy, st.st_mode & 07777);  // a change of owner or group drops set-id bits
}

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

  // The copy lies beside the real file, where a rename over it is atomic.
  const std::filesystem::path real = realFile(archive);
  if (!namesFile(real, source.descriptor())) throw StoreError(archive.string() + " changed while it was opened");
  const std::filesystem::path temp = real.parent_path() / tempPath.filename();

  step(DeleteStep::CreateTemp);
  FileHandle claimed = claimTemp(temp);
  const int tempFd = claimed.get();
  bool renamed = false;
  try {
    keepModeAndOwner(tempFd, source.descriptor(), temp);
    step(DeleteStep::Copy);
    copyAllBut(source, k, tempFd, temp);
    step(DeleteStep::Sync);
    ioStep(IoStep::Sync);
    if (::fsync(tempFd) != 0) fail("cannot flush", temp);
    // Both files stay open, and locked, until the copy has taken the
    // archive's place.
    step(DeleteStep::Close);
    step(DeleteStep::Replace);
    ioStep(IoStep::Rename);
    if (::rename(temp.c_str(), real.c_str()) != 0) fail("cannot replace the archive with", temp);
    renamed = true;
    syncFolderOf(real);
  } catch (...) {
    // The archive is untouched; the unfinished copy goes (it is still ours:
    // nobody removes a locked temporary file).
    if (!renamed && namesFile(temp, tempFd, false)) ::unlink(temp.c_str());
    throw;
  }
  claimed.close(temp);
  source.close();
}

}  // namespace zel
