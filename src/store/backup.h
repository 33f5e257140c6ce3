#pragma once
// Backups of a program folder that desks may be working in, and their
// restore. A backup is a new folder DEST/Zelvano-YYYY-MM-DD-HHMMSS holding a
// copy of every data file (the two archives, every supply, the password
// store). Each file is copied under its shared lock, so a desk's save waits
// for that one file at most; each copy is flushed and verified. A backup
// being made, or one that met a damaged or unreadable file, holds the mark
// "INCOMPLETO.txt" (saying why); a complete one holds "Contenuto.txt" with
// each file's records and bytes instead, and only such a one is restored.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "store/layout.h"

namespace zel::backup {

inline constexpr const char* kFolderPrefix = "Zelvano-";
inline constexpr const char* kIncompleteMark = "INCOMPLETO.txt";
inline constexpr const char* kContents = "Contenuto.txt";

// A data file of the program folder, by name; `layout` is null for the
// password store, which is not a record file.
struct DataFile {
  std::string name;
  const Layout* layout = nullptr;
};
// The data files the folder holds now, archives first, the store last.
std::vector<DataFile> dataFiles(const std::filesystem::path& folder);
// The kind of a data file by its name (null layout for the store), or
// nothing when the name is not one of a data file.
std::optional<DataFile> dataFileNamed(const std::string& name);

// A pending journal of the archive open as `exclusiveFd` (its exclusive
// lock held) is settled as the next open for writing would settle it
// (journal::settle): the interrupted overwrite it records is undone when it
// fits the archive. Returns whether one was applied; throws
// journal::JournalRefused, changing nothing, when it was not. A backup
// settles journals through settlePendingJournal instead, which takes the
// lock itself; a restore, which already holds it, through this.
bool settleJournalBeforeCopy(const std::filesystem::path& archive, int exclusiveFd, const Layout& layout);

// What became of one file.
struct FileCopy {
  std::string name;
  size_t records = 0;     // whole records (0 for the password store)
  uint64_t bytes = 0;
  std::string problem;    // empty when the copy is sound
};

// The folder name of a backup made at `when` (local time).
std::string folderName(std::chrono::system_clock::time_point when);
// Whether `entry` is a backup this program made: a folder so named holding
// either mark.
bool isBackup(const std::filesystem::path& entry);
bool isComplete(const std::filesystem::path& backup);

struct BackupResult {
  std::filesystem::path folder;  // the backup made
  std::vector<FileCopy> files;
  bool complete = false;
};

// Backs up every data file of `programFolder` into a new backup in `dest`
// (created when missing; an existing backup of the same name is never
// written into: StoreError). `done` hears of each file once copied. A
// folder without data files is a StoreError, and no backup is made.
BackupResult makeBackup(const std::filesystem::path& programFolder, const std::filesystem::path& dest,
                        std::chrono::system_clock::time_point when,
                        const std::function<void(const FileCopy&)>& done = {});

// Removes the oldest complete backups in `dest` beyond the newest `keep`.
// Nothing but complete backups made by this program is ever removed.
std::vector<std::filesystem::path> pruneBackups(const std::filesystem::path& dest, size_t keep);

// Checks a backup before it is restored: complete, every file listed in its
// contents there with those records and bytes and sound. Returns the
// problems found (none: it can be restored) and the files it holds.
std::vector<std::string> checkBackup(const std::filesystem::path& backup, std::vector<FileCopy>* files = nullptr);

struct RestoreResult {
  std::vector<std::string> problems;  // why nothing was restored, or where it stopped
  std::vector<FileCopy> restored;
  std::vector<std::string> removed;   // data files the backup did not hold
  std::filesystem::path keptIn;       // the backup of the files replaced
  bool done = false;
};

// Restores `backup` into `programFolder`: checks it first; then takes the
// exclusive lock of every data file there (a file a desk keeps is reported
// as in use, and nothing changes); backs up the current files beside the
// backup (journals settled first, or kept there when they cannot be);
// replaces each file by its copy as a deletion replaces an archive, and
// removes the data files the backup does not hold. No journal of a replaced
// file is left behind.
RestoreResult restoreBackup(const std::filesystem::path& programFolder, const std::filesystem::path& backup,
                            std::chrono::system_clock::time_point when);

}  // namespace zel::backup
