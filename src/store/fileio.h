#pragma once
// Opening archive files safely when several instances of the program share
// one folder (two desks on a shared drive): advisory open-file-description
// locks, shared for reading and exclusive for writing, held for the whole of
// one user action; a path that must name a regular file (a FIFO, a device or
// a folder in an archive's place is refused at once, never waited on); and
// the folder flush that makes a new, renamed or removed name last.
#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace zel {

enum class Lock { Shared, Exclusive };

// How long an action waits for another instance's lock before it gives up
// with StoreBusy. The program keeps the default (2 s); tests shorten it.
std::chrono::milliseconds lockWait();
// Returns the previous wait.
std::chrono::milliseconds setLockWait(std::chrono::milliseconds wait);

using Deadline = std::chrono::steady_clock::time_point;
Deadline lockDeadline();  // now + lockWait(), or now inside a NoLockWait

// Within its scope the actions of this thread take a lock at the first
// attempt or fail with StoreBusy at once: for reads the user did not ask
// for (a card brought up to date as its window comes back), which must not
// hold the window still while another desk saves.
class NoLockWait {
 public:
  NoLockWait();
  ~NoLockWait();
  NoLockWait(const NoLockWait&) = delete;
  NoLockWait& operator=(const NoLockWait&) = delete;

 private:
  bool previous_;
};

// A file descriptor that closes itself (its locks go with it).
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(int fd) : fd_(fd) {}
  FileHandle(FileHandle&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
  FileHandle& operator=(FileHandle&& o) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle();

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Closes now, reporting a failure (StoreError naming `path`).
  void close(const std::filesystem::path& path);
  // Closes on a thread of its own a file that another has just replaced
  // under its name, and that nothing was written through: its last close
  // frees its blocks, which for an archive of some hundred megabytes takes
  // tens of milliseconds nobody needs to wait for. Its lock goes with it.
  void closeLater();

 private:
  int fd_ = -1;
};

// Opens `path` (following links) with `flags` (O_RDONLY, O_RDWR, O_CREAT...)
// and makes sure it is a regular file. The open never blocks on a FIFO or a
// device; anything but a regular file is refused with StoreError (a missing
// file: its systemError() is ENOENT). A file that O_CREAT makes is created
// as desktop programs create files: `mode` masked by the user's umask, the
// folder's group on a setgid folder, so that the other users of a shared
// folder can work on it. It is never created through a link (a link to
// nothing is refused), and its name is flushed with the folder before this
// returns.
FileHandle openRegular(const std::filesystem::path& path, int flags, mode_t mode = 0666);

// Takes a lock on the whole file, polling until `deadline`; StoreBusy after.
// A file system that takes no locks at all (ENOLCK, EINVAL, EOPNOTSUPP: some
// network mounts) is used without them, as one desk at a time would; that
// is noted for locksRefusedNotice.
void lockFile(int fd, Lock lock, const std::filesystem::path& path, Deadline deadline);
// One attempt, no wait.
bool tryLockFile(int fd, Lock lock);
void unlockFile(int fd);

// Whether `path` names the file open as `fd` (following links, or not).
bool namesFile(const std::filesystem::path& path, int fd, bool followLinks = true);

// openRegular, then the lock, then a check that the path still names the
// file locked: while this instance waited, another may have replaced the
// archive by a deletion (a new file renamed over the old one), and a write
// through the old descriptor would be lost. Then the path is opened again.
FileHandle openLocked(const std::filesystem::path& path, int flags, Lock lock);

// Flushes the folder that holds `file`, so that its new, renamed or removed
// name survives a crash. File systems that cannot flush a folder are let be.
void syncFolderOf(const std::filesystem::path& file);

// The file a path names once every link is followed (the path itself when
// it cannot be resolved).
std::filesystem::path realFile(const std::filesystem::path& path);

// The StoreError text for a failed system call on `path`.
std::string describeFailure(const char* what, const std::filesystem::path& path, int err);
// Throws the StoreError of a failed system call, carrying its error number.
[[noreturn]] void failCall(const char* what, const std::filesystem::path& path, int err);

// True once per process: the first time it is asked after a file system
// refused a lock. The windows then tell the user that several desks must
// not write to this folder at the same moment.
bool locksRefusedNotice();
// Whether a file system refused a lock at any time in this process.
bool locksRefused();

// Whole-buffer positioned reads and writes, retried on interruption; any
// failure (a short read included) is a StoreError naming `path`.
void readAt(int fd, uint64_t offset, uint8_t* out, size_t size, const std::filesystem::path& path);
void writeAt(int fd, uint64_t offset, const uint8_t* bytes, size_t size, const std::filesystem::path& path);
// Copies `size` bytes of `from` at `fromOffset` into `to` at `toOffset` inside
// the kernel (copy_file_range): the data never passes through this process,
// and a file system that shares extents shares them instead of copying.
// Where the kernel cannot copy between the two files (another file system,
// a kernel or file system without the call) it falls back to reads and
// writes. Announced as one Read and one Write step; an injected short write
// copies the first half, then fails. A source that ends before `size` bytes
// is a StoreError naming `source`, any other failure one naming `target`.
void copyRange(int from, uint64_t fromOffset, int to, uint64_t toOffset, uint64_t size,
               const std::filesystem::path& source, const std::filesystem::path& target);
// The file's data (and the size) on the disk.
void syncData(int fd, const std::filesystem::path& path);
// The file's data and all its attributes on the disk. On the file systems
// of flushesCarryNames this also makes its name last, even a new one.
void syncAll(int fd, const std::filesystem::path& path);
// Whether the file system that holds `file`'s folder commits its changes in order, so
// that a file's flush also makes every earlier change of names in its
// folder last (ext4, XFS: their flush commits the whole journal up to that
// point; tmpfs and NFS, where there is nothing to lose or the server
// already did). Elsewhere (btrfs logs only the file flushed; FAT, network
// shares) a folder must be flushed on its own.
bool flushesCarryNames(const std::filesystem::path& file);
void truncateTo(int fd, uint64_t size, const std::filesystem::path& path);
uint64_t fileSize(int fd, const std::filesystem::path& path);

}  // namespace zel
