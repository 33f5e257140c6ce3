#pragma once
// Every step of the archive layer that reaches the file system (open, lock,
// read, write, flush, rename, ...) is announced here before it runs. The
// program never installs a hook; tests do, to make any single step fail and
// prove that a failure anywhere leaves the files as they were or fully
// updated.
#include <functional>

namespace zel {

enum class IoStep {
  Open,        // opening a file
  Lock,        // taking a lock (a failure reads as "busy")
  Check,       // making sure a path still names the file locked
  Read,
  Write,
  Sync,        // flushing a file's data to the disk
  Truncate,
  Chmod,       // giving a new file its mode and owner
  Rename,
  Remove,
  SyncFolder,  // flushing a folder, so that a new, renamed or removed name lasts
  Close,
};

enum class Fault {
  None,   // the step runs normally
  Fail,   // the step fails before doing anything
  Short,  // a write stores only part of its bytes, then fails (other steps: Fail)
  Refused,  // a lock is refused as a file system without locks refuses it
            // (ENOLCK); other steps: Fail
};

using IoHook = std::function<Fault(IoStep)>;

// Installs a hook for the current thread for the scope's lifetime.
class ScopedIoHook {
 public:
  explicit ScopedIoHook(IoHook hook);
  ~ScopedIoHook();
  ScopedIoHook(const ScopedIoHook&) = delete;
  ScopedIoHook& operator=(const ScopedIoHook&) = delete;

 private:
  IoHook previous_;
};

// The current thread's hook (empty when none), for work it hands to other
// threads: a step there must meet the same hook.
IoHook currentIoHook();

// Announces a step. A Fail throws the StoreError the real failure would
// (StoreBusy for a lock); Short and Refused are returned for the writer and
// the lock to act on.
Fault ioStep(IoStep step);

}  // namespace zel
