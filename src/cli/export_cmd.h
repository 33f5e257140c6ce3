#pragma once
// zelvano-cli export: the archive grid of an export window written to a Word
// or Excel file without the program, for scripts and backups.
#include <iosfwd>
#include <string>
#include <vector>

namespace zel::cli {

// export clienti|prodotti|FILE.for (--xlsx OUT | --docx OUT) [--folder DIR]
// Writes the same file as the export window's Excel or Word command to OUT,
// which must not exist yet. Reads the archive only: a missing archive is an
// empty grid, and nothing is created or changed beside OUT. Returns 0 when
// written, 1 when OUT exists or the export fails (OUT is then not created),
// and throws UsageError for wrong arguments.
int exportCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                  std::ostream& err);

// The paragraph of the usage text that describes the command.
std::string exportUsageText();

}  // namespace zel::cli
