#pragma once
// A record file: a headerless sequence of fixed-size records. Every user
// action opens the file, does its work and closes it again.
//
// Several instances of the program may share one folder. Every open takes a
// lock on the file for the action's duration (shared to read, exclusive to
// write), waiting briefly for another instance before it gives up with
// StoreBusy. A reader's descriptor is read-only: reading an archive needs
// no right to change it. Only regular files are opened: a FIFO, a device or a folder in
// an archive's place is an access failure at once. An archive that is a link
// is read and written where the link points.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>
#include <optional>
#include <string>

#include "store/fileio.h"
#include "store/layout.h"
#include "store/storeerror.h"

namespace zel {

class FileView;

// How a pass over records takes them (RecordFile::scanRange).
struct ScanThrough {
  bool viewWhereCheaper = false;
  // Where in a record the visit reads (byte offsets): in a view, these are
  // fetched a few records ahead, as a read would have brought them.
  std::vector<size_t> offsetsRead;
};

class RecordFile {
 public:
  // Opens for reading and writing, creating an empty file when it is missing.
  // A writer takes the exclusive lock; an action that only reads (a
  // navigation step, a listing) passes Lock::Shared and gets a read-only
  // descriptor (a missing archive is still created empty).
  //
  // These opens settle a pending journal first (settlePendingJournal): an
  // action refused there (JournalRefused) reads and writes nothing.
  static RecordFile openForUpdate(const std::filesystem::path& path, const Layout& layout,
                                  Lock lock = Lock::Exclusive);
  // Opens an existing file for reading and writing; a missing file fails.
  static RecordFile openExisting(const std::filesystem::path& path, const Layout& layout,
                                 Lock lock = Lock::Exclusive);
  // Creates the file, or empties it when it exists (exclusive lock).
  static RecordFile createEmpty(const std::filesystem::path& path, const Layout& layout);
  // Opens an existing file for reading only (tools that inspect an archive
  // without the right to change it), with a shared lock; any write fails.
  // A pending journal is not looked at: the tools settle it first.
  static RecordFile openReadOnly(const std::filesystem::path& path, const Layout& layout);

  RecordFile(RecordFile&& other) noexcept = default;
  RecordFile& operator=(RecordFile&& other) noexcept = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile() = default;

  const Layout& layout() const { return *layout_; }
  const std::filesystem::path& path() const { return path_; }
  int descriptor() const { return file_.get(); }

  // Whole records in the file; a partial record at the end is not counted.
  size_t count() const;
  // Record k, 1-based; fails when k is outside 1..count.
  Record read(size_t k) const;
  void readRaw(size_t k, uint8_t* out) const;
  // Whether record k exists and holds `shown` (compared as a card shows its
  // fields: trimmed, each cut to its capacity).
  bool holds(size_t k, const Record& shown) const;

  // Plain writes, for building files (tests, the copy of a deletion): not
  // flushed, and a failure may leave them half done.
  void overwrite(size_t k, const Record& record);
  void overwriteRaw(size_t k, const uint8_t* bytes);
  // Writes after the last whole record (count × size, over any partial tail)
  // and returns the new record number.
  size_t append(const Record& record);
  // Appends `records` consecutive records; returns the number of the last.
  size_t appendRaw(const uint8_t* bytes, size_t records = 1);

  // The writes of a user action (exclusive lock needed). When they return,
  // the record is on the disk. When they fail, the file is as it was. When
  // the process is killed on the way, an append leaves at most a partial
  // record at the end (never counted, and written over by the next append),
  // and an overwrite is undone from its journal by the next open.
  size_t commitAppend(const Record& record);
  size_t commitAppendRaw(const uint8_t* bytes);
  void commitOverwrite(size_t k, const Record& record);
  void commitOverwriteRaw(size_t k, const uint8_t* bytes);

  // Reads every whole record in file order, in large blocks.
  void scan(const std::function<void(size_t k, const uint8_t* bytes)>& visit) const;
  // Reads records first..last (1-based, inclusive) in file order, about
  // `blockBytes` at a time (at least one record). Several threads may scan
  // ranges of one open file at once: the reads are positioned. A listing's
  // pass may have its records visited in a view of the file instead, where
  // that costs less than reading it (store/fileview.h). The view's pages
  // count in the process's resident memory, so a pass that promises memory
  // independent of the file's size reads.
  void scanRange(size_t first, size_t last, const std::function<void(size_t k, const uint8_t* bytes)>& visit,
                 size_t blockBytes, const ScanThrough& through = {}) const;
  // The record handed to `visit` is reused for the next one: copy what you keep.
  void scanRecords(const std::function<void(size_t k, const Record& record)>& visit) const;
  // Flushes the file's data and attributes to the disk.
  void sync();
  // Closes the file, which releases its lock.
  void close();
  // The same for a file that a copy has just replaced (FileHandle::closeLater).
  void closeReplaced() { file_.closeLater(); }

 private:
  RecordFile(FileHandle file, std::filesystem::path path, const Layout& layout, bool exclusive);
  static RecordFile open(const std::filesystem::path& path, const Layout& layout, int flags, Lock lock,
                         bool settleJournal);
  static int accessFlags(Lock lock);
  void requireOpen() const;
  void requireExclusive() const;
  void checkRecordNumber(size_t k) const;
  void visitInView(const FileView& view, size_t first, size_t last, size_t perBlock,
                   const std::vector<size_t>& offsetsRead,
                   const std::function<void(size_t k, const uint8_t* bytes)>& visit) const;

  FileHandle file_;
  std::filesystem::path path_;
  const Layout* layout_;
  bool exclusive_ = false;
};

// Settles the journal that an interrupted save left beside `archive` (see
// store/journal.h): when there is one, takes the archive's exclusive lock,
// puts the record the save was replacing back, flushes, and removes the
// journal. Call it before reading an archive through openReadOnly; the other
// opens call it themselves. Returns true when a journal was applied, false
// when there was none (then nothing is opened, so a folder this user may only
// read is fine). Creates nothing. Throws:
// - journal::JournalRefused when a journal is there but was not applied:
//   this user cannot read it or cannot write the archive, or, run as root,
//   another user left it beside an archive not theirs (CannotApply: it is
//   left for a desk that can), or it does not fit the archive (DoesNotFit);
//   the journal and the archive are then left exactly as they were;
// - StoreBusy when another desk holds the archive past the wait.
bool settlePendingJournal(const std::filesystem::path& archive, const Layout& layout);

// How a listing reaches its archive. The windows open it for update, so a
// missing archive is created empty; the command-line tool only reads, and
// takes a missing archive (in a folder that exists) for an empty one, creating
// nothing. A supply file is made by the create window only: the windows open
// it as an existing file (Existing), and a missing one fails (its
// StoreError's systemError() is ENOENT).
enum class Access { Update, ReadOnly, Existing };

// Opens a file for a listing (shared lock) as `access` says; nothing when a
// read-only listing finds no file in a folder that exists (an empty archive).
std::optional<RecordFile> openForListing(const std::filesystem::path& path, const Layout& layout, Access access);

// Opens (shared lock), visits every whole record in file order, closes.
void scanFile(const std::filesystem::path& path, const Layout& layout, Access access,
              const std::function<void(size_t k, const uint8_t* bytes)>& visit);

// Reads record k of a file in one open-read-close action.
Record readRecord(const std::filesystem::path& path, const Layout& layout, size_t k);
// Every record of a file, in order (opening it for update, as the screens do).
std::vector<Record> readAllRecords(const std::filesystem::path& path, const Layout& layout);

// The steps of a deletion, named for the checkpoint callback.
enum class DeleteStep { OpenArchive, CreateTemp, Copy, Sync, Close, Replace };

// Removes record k by copying every other record into a temporary file and
// renaming it over the archive. The archive stays locked (exclusive) from
// before the copy until after the rename. The temporary file takes the name
// of `tempPath` but lies beside the archive's real file (links followed), so
// the rename is atomic and a link stays a link; it is created afresh
// (exclusively, never through a link) after removing any leftover, and
// keeps the archive's mode and owner. A failure at any step leaves the
// archive as it was, or already replaced by the complete copy. When `shown`
// is given, record k must still hold it (CardChanged otherwise). The
// optional checkpoint runs before each step (tests use it to inject
// failures).
void deleteRecordByCopy(const std::filesystem::path& archive,
                        const std::filesystem::path& tempPath, const Layout& layout,
                        size_t k, const std::function<void(DeleteStep)>& checkpoint = {},
                        const Record* shown = nullptr);

}  // namespace zel
