#pragma once
// Replacing a file whole, safely against crashes and other desks: the new
// content is written into a temporary file beside the file's real path
// (links followed, so the rename is atomic and a link stays a link), flushed,
// and renamed over the file while the caller still holds the file's
// exclusive lock; then the folder is flushed. The new file keeps the old
// one's rights, and its owner and group as far as this user may: anyone but
// the administrator owns the copy, which keeps the group when they belong
// to it. The temporary file is created as every file of the program, 0666
// less the umask, never through a link; a leftover, another user's too, is
// removed first. Until the rename the file is untouched, and a crash leaves
// at most the temporary file, which the next rewrite removes.
// A deletion, an import and a restore all replace files this way.
#include <filesystem>
#include <functional>

#include "store/recordfile.h"

namespace zel {

// Writes the new content into the temporary file, open as `fd`.
using RewriteFill = std::function<void(int fd, const std::filesystem::path& temp)>;

// Replaces `file`, open as `lockedFd` under its exclusive lock, with what
// `fill` writes. The temporary file is named `tempName` (only its file name
// counts) and lies beside the real file; it is created afresh, never through
// a link, after any leftover is removed. `checkpoint` runs before the steps
// CreateTemp, Copy (the fill), Sync, Close and Replace. On failure the file
// is as it was, or already replaced by the complete new content. `noun`
// names the file in the failure messages ("archive", "file"). Failures of
// system calls carry their error number (StoreError::systemError()).
void rewriteFile(const std::filesystem::path& file, int lockedFd, const std::filesystem::path& tempName,
                 const RewriteFill& fill, const std::function<void(DeleteStep)>& checkpoint = {},
                 const char* noun = "file");

// The changes of one import, written all at once.
struct RecordChanges {
  std::vector<std::pair<size_t, Record>> overwrites;  // record number, new record
  std::vector<Record> appends;                        // after the last whole record
};

// Rewrites the archive open as `archive` (exclusive lock) with the changes:
// every record copied, those named overwritten, the new ones appended; a
// partial record at the end is dropped. All or nothing.
void rewriteWithChanges(const RecordFile& archive, const std::filesystem::path& tempName,
                        const RecordChanges& changes);

}  // namespace zel
