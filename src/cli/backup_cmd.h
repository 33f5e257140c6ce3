#pragma once
// zelvano-cli backup and restore: a backup of the program folder that desks
// may be working in, and its way back.
#include <iosfwd>
#include <string>
#include <vector>

namespace zel::cli {

// backup DEST [--folder DIR] [--keep N]: copies every data file of DIR into
// a new backup folder in DEST, one line per file and a total. Returns 0 when
// the backup is complete, 1 when a file was damaged or unreadable (the
// backup is then marked incomplete) or none could be made; --keep N then
// removes the oldest complete backups in DEST beyond N.
int backupCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                  std::ostream& err);
std::string backupUsageText();

// restore BACKUP [--folder DIR]: puts a complete backup back, keeping the
// files it replaces as a backup of their own. Returns 0 when restored, 1
// when the backup is not sound or a desk holds a file (nothing changed) or
// the restore failed.
int restoreCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                   std::ostream& err);
std::string restoreUsageText();

}  // namespace zel::cli
