#include "cli/backup_cmd.h"

#include <chrono>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/command.h"
#include "store/backup.h"
#include "store/storeerror.h"

namespace zel::cli {
namespace {

namespace fs = std::filesystem;

const char kBackupUsage[] =
    "  backup DEST [--folder DIR] [--keep N]\n"
    "      Copies every data file of DIR (the two archives, every supply, the\n"
    "      password store) into a new folder DEST/Zelvano-YYYY-MM-DD-HHMMSS,\n"
    "      while desks go on working: each file is read under its lock, then\n"
    "      its copy is flushed and verified. Prints one line per file and the\n"
    "      total. A damaged or unreadable file is named, the backup is marked\n"
    "      incomplete (INCOMPLETO.txt) and the exit status is 1. --keep N then\n"
    "      removes the oldest complete backups in DEST beyond the newest N.\n";

const char kRestoreUsage[] =
    "  restore BACKUP [--folder DIR]\n"
    "      Puts the files of a complete backup back into DIR once it is checked,\n"
    "      only when no desk is using any file (exit status 1 otherwise, with\n"
    "      nothing changed). The files it replaces are first kept as a backup of\n"
    "      their own beside BACKUP; data files the backup does not hold are\n"
    "      kept there too and removed from DIR.\n";

std::string describe(const backup::FileCopy& f) {
  std::string line = printable(f.name) + ": ";
  const auto kind = backup::dataFileNamed(f.name);
  if (kind && kind->layout) line += std::to_string(f.records) + " records, ";
  return line + std::to_string(f.bytes) + " bytes";
}

size_t keepOption(const ParsedArgs& parsed) {
  const auto keep = parsed.value("keep");
  if (!keep) return 0;
  if (keep->empty() || keep->size() > 6 || keep->find_first_not_of("0123456789") != std::string::npos ||
      std::stoul(*keep) == 0)
    throw UsageError{"--keep takes a whole number of backups, at least 1"};
  return std::stoul(*keep);
}

}  // namespace

std::string backupUsageText() { return kBackupUsage; }
std::string restoreUsageText() { return kRestoreUsage; }

int backupCommand(const std::vector<std::string>& args, std::istream&, std::ostream& out, std::ostream& err) {
  const ParsedArgs parsed = parseArgs(args, {"folder", "keep"});
  if (parsed.positional.size() != 1) throw UsageError{"backup takes one destination folder"};
  const size_t keep = keepOption(parsed);
  const fs::path folder = folderOption(parsed);
  const fs::path dest = parsed.positional.front();

  const backup::BackupResult result =
      backup::makeBackup(folder, dest, std::chrono::system_clock::now(), [&](const backup::FileCopy& f) {
        if (f.problem.empty()) out << describe(f) << '\n';
        else out << printable(f.name) << ": DAMAGED OR UNREADABLE: " << printable(f.problem) << '\n';
        out.flush();
      });
  size_t records = 0, bad = 0;
  uint64_t bytes = 0;
  for (const backup::FileCopy& f : result.files) {
    records += f.records;
    bytes += f.bytes;
    bad += f.problem.empty() ? 0 : 1;
  }
  if (!result.complete) {
    err << kProgram << ": backup INCOMPLETE in " << printable(result.folder.string()) << ": " << bad
        << " file(s) damaged or unreadable (see " << backup::kIncompleteMark << ")\n";
    return kExitFailed;
  }
  // The older backups go only once the new one is complete; the total stays
  // the last line.
  if (keep > 0)
    for (const fs::path& old : backup::pruneBackups(dest, keep))
      out << "Removed the older backup " << printable(old.string()) << '\n';
  out << "Total: " << result.files.size() << " files, " << records << " records, " << bytes << " bytes in "
      << printable(result.folder.string()) << '\n';
  return kExitOk;
}

int restoreCommand(const std::vector<std::string>& args, std::istream&, std::ostream& out, std::ostream& err) {
  const ParsedArgs parsed = parseArgs(args, {"folder"});
  if (parsed.positional.size() != 1) throw UsageError{"restore takes one backup folder"};
  const fs::path folder = folderOption(parsed);
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    err << kProgram << ": '" << printable(folder.string()) << "' is not a folder\n";
    return kExitFailed;
  }
  const fs::path from = fs::absolute(parsed.positional.front(), ec);
  const backup::RestoreResult result = backup::restoreBackup(folder, from, std::chrono::system_clock::now());
  if (!result.keptIn.empty()) out << "The files replaced are kept in " << printable(result.keptIn.string()) << '\n';
  for (const backup::FileCopy& f : result.restored) out << "Restored " << describe(f) << '\n';
  for (const std::string& name : result.removed) out << "Removed " << printable(name) << " (not in the backup)\n";
  for (const std::string& p : result.problems) err << kProgram << ": " << printable(p) << '\n';
  return result.done ? kExitOk : kExitFailed;
}

}  // namespace zel::cli
