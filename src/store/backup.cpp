#include "store/backup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <sstream>
#include <system_error>

#include "store/passwordstore.h"
#include "store/archives.h"
#include "store/archivescan.h"
#include "store/fileio.h"
#include "store/iohook.h"
#include "store/journal.h"
#include "store/rewrite.h"
#include "store/storeerror.h"
#include "store/supplyfiles.h"

namespace zel::backup {
namespace {

namespace fs = std::filesystem;

bool journalPending(const fs::path& archive) { return journal::exists(journal::pathFor(realFile(archive))); }

// Copies the file open as `fd` into the new file `target` (created as every
// file of the program, never through a link), flushed; returns the bytes
// copied. The kernel copies them where it can, as cp does.
uint64_t copyOpenFile(int fd, const fs::path& source, const fs::path& target) {
  const uint64_t size = fileSize(fd, source);
  FileHandle out = openRegular(target, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW);
  if (size > 0) copyRange(fd, 0, out.get(), 0, size, source, target);
  syncData(out.get(), target);
  out.close(target);
  return size;
}

// Checks a copy as verify checks an archive (and the password store as the
// login reads it); the records found and any damage go into `result`.
void verifyCopy(const fs::path& copy, const DataFile& kind, FileCopy& result) {
  if (!kind.layout) {
    try {
      readStoredPassword(copy);
    } catch (const PasswordStoreError& e) {
      result.problem = e.what();
    }
    return;
  }
  size_t anomalies = 0;
  const ArchiveScan scan = scanArchive(copy, *kind.layout, {}, [&](size_t, const uint8_t* bytes) {
    anomalies += oversizedFields(*kind.layout, bytes).size();
  });
  result.records = scan.records;
  std::string problem;
  if (anomalies > 0) problem = std::to_string(anomalies) + " fields with a length byte above their capacity";
  if (scan.partialBytes > 0)
    problem += (problem.empty() ? "" : "; ") + std::string("a partial record of ") +
               std::to_string(scan.partialBytes) + " bytes at the end";
  result.problem = problem;
}

// One data file copied under its shared lock, a pending journal settled
// first, the copy flushed and verified. A journal that cannot be applied
// makes the file unreadable for the backup: its copy would hold a save cut
// short.
FileCopy backUpFile(const fs::path& from, const fs::path& to, const DataFile& kind) {
  FileCopy result;
  result.name = kind.name;
  try {
    for (int attempt = 0;; ++attempt) {
      // Under a shared lock no save is under way: a journal there was left by
      // a desk that died in the middle of one, as desks do at their next
      // action.
      if (kind.layout) settlePendingJournal(from, *kind.layout);
      FileHandle in = openLocked(from, O_RDONLY, Lock::Shared);
      if (kind.layout && journalPending(from)) {
        // Another desk died between the settling and the lock.
        if (attempt == 2) throw StoreError("a journal of " + from.string() + " keeps coming back");
        continue;
      }
      result.bytes = copyOpenFile(in.get(), from, to);
      in.close(from);
      break;
    }
    verifyCopy(to, kind, result);
  } catch (const journal::JournalRefused& e) {
    result.problem = "the pending journal " + e.journal().string() + " was not applied: " + e.what();
  } catch (const std::exception& e) {
    result.problem = e.what();
  }
  return result;
}

void writeSmallFile(const fs::path& file, const std::string& text) {
  FileHandle out = openRegular(file, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW);
  truncateTo(out.get(), 0, file);
  writeAt(out.get(), 0, reinterpret_cast<const uint8_t*>(text.data()), text.size(), file);
  syncData(out.get(), file);
  out.close(file);
}

std::string readSmallFile(const fs::path& file) {
  FileHandle in = openRegular(file, O_RDONLY);
  const uint64_t size = fileSize(in.get(), file);
  if (size > (1 << 24)) throw StoreError(file.string() + " is too large");
  std::string text(static_cast<size_t>(size), '\0');
  readAt(in.get(), 0, reinterpret_cast<uint8_t*>(text.data()), text.size(), file);
  return text;
}

void makeFolder(const fs::path& folder) {
  if (::mkdir(folder.c_str(), 0777) != 0) failCall("cannot create", folder, errno);
  syncFolderOf(folder);
}

// A new backup folder, marked incomplete until `finish`.
class NewBackup {
 public:
  explicit NewBackup(fs::path folder) : folder_(std::move(folder)) {
    makeFolder(folder_);
    writeSmallFile(folder_ / kIncompleteMark, "Backup in corso o non riuscito: non usarlo per un ripristino.\n");
    syncFolderOf(folder_ / kIncompleteMark);
  }
  const fs::path& folder() const { return folder_; }

  // Lists the files and drops the mark when every copy is sound; otherwise
  // the mark says which were not. Returns whether the backup is complete.
  bool finish(const std::vector<FileCopy>& files) {
    std::ostringstream contents, problems;
    for (const FileCopy& f : files) {
      if (f.name.find_first_of("\r\n") != std::string::npos) {
        problems << "a file name holding a line break cannot be listed\n";
        continue;
      }
      if (!f.problem.empty()) problems << f.name << ": " << f.problem << '\n';
      contents << f.records << ' ' << f.bytes << ' ' << f.name << '\n';
    }
    if (!problems.str().empty()) {
      writeSmallFile(folder_ / kIncompleteMark, "Backup non riuscito: non usarlo per un ripristino.\n" + problems.str());
      return false;
    }
    writeSmallFile(folder_ / kContents, contents.str());
    ioStep(IoStep::Remove);
    if (::unlink((folder_ / kIncompleteMark).c_str()) != 0)
      failCall("cannot remove", folder_ / kIncompleteMark, errno);
    syncFolderOf(folder_ / kContents);
    return true;
  }

 private:
  fs::path folder_;
};

bool isDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool hasBackupName(const std::string& name) {
  // Zelvano-YYYY-MM-DD-HHMMSS
  const std::string prefix = kFolderPrefix;
  if (name.size() != prefix.size() + 17 || name.compare(0, prefix.size(), prefix) != 0) return false;
  const std::string_view s = std::string_view(name).substr(prefix.size());
  return isDigits(s.substr(0, 4)) && s[4] == '-' && isDigits(s.substr(5, 2)) && s[7] == '-' &&
         isDigits(s.substr(8, 2)) && s[10] == '-' && isDigits(s.substr(11, 6));
}

bool isRegular(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(fs::symlink_status(p, ec));
}

}  // namespace

std::optional<DataFile> dataFileNamed(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return std::nullopt;
  if (name == kClientArchive) return DataFile{name, &clientLayout()};
  if (name == kProductArchive) return DataFile{name, &productLayout()};
  if (name == kPasswordStore) return DataFile{name, nullptr};
  const std::string ext = kSupplyExtension;
  if (name.size() > ext.size() && lowerAscii(name.substr(name.size() - ext.size())) == ext)
    return DataFile{name, &supplyLayout()};
  return std::nullopt;
}

std::vector<DataFile> dataFiles(const fs::path& folder) {
  std::vector<DataFile> files;
  std::error_code ec;
  for (const char* name : {kClientArchive, kProductArchive})
    if (fs::is_regular_file(folder / name, ec)) files.push_back(*dataFileNamed(name));
  for (const std::string& supply : supplyfiles::listSupplies(folder)) files.push_back(*dataFileNamed(supply));
  if (fs::is_regular_file(folder / kPasswordStore, ec)) files.push_back(*dataFileNamed(kPasswordStore));
  return files;
}

bool settleJournalBeforeCopy(const fs::path& archive, int exclusiveFd, const Layout& layout) {
  // As an open for writing settles it: the old record goes back only where
  // the journal fits.
  return journal::settle(journal::pathFor(realFile(archive)), exclusiveFd, archive, layout.recordSize());
}

std::string folderName(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  ::localtime_r(&t, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
  return kFolderPrefix + std::string(stamp);
}

bool isBackup(const fs::path& entry) {
  std::error_code ec;
  return hasBackupName(entry.filename().string()) && fs::is_directory(fs::symlink_status(entry, ec)) &&
         (isRegular(entry / kContents) || isRegular(entry / kIncompleteMark));
}

bool isComplete(const fs::path& backup) { return isRegular(backup / kContents) && !isRegular(backup / kIncompleteMark); }

BackupResult makeBackup(const fs::path& programFolder, const fs::path& dest, std::chrono::system_clock::time_point when,
                        const std::function<void(const FileCopy&)>& done) {
  const std::vector<DataFile> files = dataFiles(programFolder);
  if (files.empty()) throw StoreError("no data files in " + programFolder.string());
  std::error_code ec;
  fs::create_directories(dest, ec);
  if (ec) throw StoreError("cannot create " + dest.string() + ": " + ec.message());
  NewBackup backup(dest / folderName(when));
  BackupResult result;
  result.folder = backup.folder();
  for (const DataFile& f : files) {
    result.files.push_back(backUpFile(programFolder / f.name, backup.folder() / f.name, f));
    if (done) done(result.files.back());
  }
  result.complete = backup.finish(result.files);
  return result;
}

std::vector<fs::path> pruneBackups(const fs::path& dest, size_t keep) {
  std::vector<fs::path> complete;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dest, ec))
    if (isBackup(entry.path()) && isComplete(entry.path())) complete.push_back(entry.path());
  if (ec) throw StoreError("cannot list " + dest.string() + ": " + ec.message());
  std::sort(complete.begin(), complete.end());  // the names sort by date and time
  std::vector<fs::path> removed;
  for (size_t i = 0; i + keep < complete.size(); ++i) {
    // The contents list goes first, so that a removal cut short leaves a
    // folder that no longer passes for a complete backup.
    fs::remove(complete[i] / kContents, ec);
    fs::remove_all(complete[i], ec);
    if (ec) throw StoreError("cannot remove " + complete[i].string() + ": " + ec.message());
    removed.push_back(complete[i]);
  }
  return removed;
}

std::vector<std::string> checkBackup(const fs::path& backup, std::vector<FileCopy>* files) {
  if (!isBackup(backup)) return {backup.string() + " is not a backup made by zelvano-cli"};
  if (!isComplete(backup)) return {backup.string() + " is incomplete (see " + kIncompleteMark + ")"};
  std::vector<std::string> problems;
  std::istringstream contents(readSmallFile(backup / kContents));
  std::string line;
  std::vector<FileCopy> listed;
  while (std::getline(contents, line)) {
    FileCopy expected;
    std::istringstream fields(line);
    fields >> expected.records >> expected.bytes;
    if (fields) std::getline(fields >> std::ws, expected.name);
    const auto kind = dataFileNamed(expected.name);
    if (!kind) {
      problems.push_back("damaged contents line: " + line);
      continue;
    }
    FileCopy found;
    found.name = expected.name;
    try {
      FileHandle f = openRegular(backup / expected.name, O_RDONLY | O_NOFOLLOW);
      found.bytes = fileSize(f.get(), backup / expected.name);
      f.close(backup / expected.name);
      verifyCopy(backup / expected.name, *kind, found);
    } catch (const StoreError& e) {
      found.problem = e.what();
    }
    if (found.problem.empty() && (found.bytes != expected.bytes || found.records != expected.records))
      found.problem = "holds " + std::to_string(found.bytes) + " bytes, the backup listed " +
                      std::to_string(expected.bytes);
    if (!found.problem.empty()) problems.push_back(expected.name + ": " + found.problem);
    listed.push_back(found);
  }
  if (listed.empty() && problems.empty()) problems.push_back(backup.string() + " lists no files");
  if (files) *files = listed;
  return problems;
}

namespace {

// A data file of the program folder held under its exclusive lock for the
// whole of a restore.
struct HeldFile {
  DataFile kind;
  fs::path path;
  FileHandle fd;
  bool created = false;      // made empty to be held; gone again if nothing is restored
  bool inBackup = false;     // replaced by the backup's copy, else removed
  bool journalAside = false; // a journal that could not be settled, kept with the old file
};

// Takes every file's lock, or none: a file a desk keeps is named. Files
// the backup holds and the folder lacks are created empty and held too, so
// that no desk makes one meanwhile.
std::vector<HeldFile> holdAll(const fs::path& folder, const std::vector<FileCopy>& restored,
                              std::vector<std::string>& problems) {
  std::vector<HeldFile> held;
  std::string current;
  auto add = [&](const DataFile& kind, bool inBackup) {
    for (const HeldFile& h : held)
      if (h.kind.name == kind.name) return;
    current = kind.name;
    HeldFile h;
    h.kind = kind;
    h.path = folder / kind.name;
    h.inBackup = inBackup;
    std::error_code ec;
    if (fs::exists(h.path, ec)) {
      h.fd = openLocked(h.path, O_RDWR, Lock::Exclusive);
    } else {
      h.fd = openRegular(h.path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW);
      h.created = true;
      held.push_back(std::move(h));
      if (!tryLockFile(held.back().fd.get(), Lock::Exclusive)) throw StoreBusy("busy");
      return;
    }
    held.push_back(std::move(h));
  };
  try {
    for (const FileCopy& f : restored) add(*dataFileNamed(f.name), true);
    for (const DataFile& f : dataFiles(folder)) add(f, false);
  } catch (const StoreBusy&) {
    problems.push_back(current + " is in use by another desk; nothing was restored");
  } catch (const std::exception& e) {
    problems.push_back(current + ": " + e.what() + "; nothing was restored");
  }
  return held;
}

// The files about to be replaced or removed, with any journal that could not
// be settled, backed up beside the backup being restored.
fs::path keepReplaced(std::vector<HeldFile>& held, const fs::path& dest, std::chrono::system_clock::time_point when,
                      std::vector<std::string>& problems) {
  NewBackup kept(dest / folderName(when));
  std::vector<FileCopy> copies;
  for (HeldFile& h : held) {
    if (h.created) continue;
    if (h.kind.layout && journalPending(h.path)) {
      try {
        settleJournalBeforeCopy(h.path, h.fd.get(), *h.kind.layout);
      } catch (const StoreError&) {
        // Refused (it does not fit, or cannot be read or applied here): it
        // is kept, byte for byte, with the file it was found beside.
        h.journalAside = true;
        const fs::path jrn = journal::pathFor(realFile(h.path));
        FileHandle in = openRegular(jrn, O_RDONLY | O_NOFOLLOW);
        copyOpenFile(in.get(), jrn, kept.folder() / (h.kind.name + ".jrn"));
      }
    }
    FileCopy copy;
    copy.name = h.kind.name;
    copy.bytes = copyOpenFile(h.fd.get(), h.path, kept.folder() / h.kind.name);
    // A damaged file is kept all the same, byte for byte; the mark says so.
    verifyCopy(kept.folder() / h.kind.name, h.kind, copy);
    if (h.journalAside) copy.problem += (copy.problem.empty() ? "" : "; ") + std::string("a journal kept beside it");
    copies.push_back(copy);
  }
  if (!kept.finish(copies))
    problems.push_back("note: the files replaced were not all sound; they are kept as they were in " +
                       kept.folder().string());
  return kept.folder();
}

}  // namespace

RestoreResult restoreBackup(const fs::path& folder, const fs::path& backup, std::chrono::system_clock::time_point when) {
  RestoreResult result;
  std::vector<FileCopy> files;
  result.problems = checkBackup(backup, &files);
  if (!result.problems.empty()) return result;
  std::vector<HeldFile> held = holdAll(folder, files, result.problems);
  if (!result.problems.empty()) {
    for (HeldFile& h : held)
      if (h.created) ::unlink(h.path.c_str());
    return result;
  }
  bool changed = false;
  try {
    std::vector<std::string> notes;
    const bool anyCurrent = std::any_of(held.begin(), held.end(), [](const HeldFile& h) { return !h.created; });
    if (anyCurrent) result.keptIn = keepReplaced(held, backup.parent_path(), when, notes);
    for (HeldFile& h : held) {
      changed = true;
      // The journal of the file replaced must not be applied to its
      // successor. It goes first: it is settled or kept aside by now, and a
      // crash between its removal and the replacement leaves the old file as
      // it was kept, while the other order could leave the new file beside
      // the old file's journal.
      const fs::path jrn = journal::pathFor(realFile(h.path));
      if (h.kind.layout && journal::exists(jrn)) journal::remove(jrn);
      if (!h.inBackup) {
        ioStep(IoStep::Remove);
        if (::unlink(h.path.c_str()) != 0) failCall("cannot remove", h.path, errno);
        syncFolderOf(h.path);
        result.removed.push_back(h.kind.name);
      } else {
        const fs::path from = backup / h.kind.name;
        FileCopy restored;
        restored.name = h.kind.name;
        rewriteFile(h.path, h.fd.get(), h.kind.name + ".tmp", [&](int fd, const fs::path& temp) {
          FileHandle in = openRegular(from, O_RDONLY | O_NOFOLLOW);
          restored.bytes = fileSize(in.get(), from);
          if (restored.bytes > 0) copyRange(in.get(), 0, fd, 0, restored.bytes, from, temp);
        });
        restored.records = h.kind.layout ? static_cast<size_t>(restored.bytes / h.kind.layout->recordSize()) : 0;
        result.restored.push_back(restored);
      }
    }
    result.problems = notes;
    result.done = true;
  } catch (const std::exception& e) {
    result.problems.push_back(std::string(e.what()) +
                              (changed ? "; the restore stopped half way: the files replaced so far are kept in " +
                                             result.keptIn.string()
                                       : "; nothing was restored"));
    if (!changed)
      for (HeldFile& h : held)
        if (h.created) ::unlink(h.path.c_str());
  }
  return result;
}

}  // namespace zel::backup
