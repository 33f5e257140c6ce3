#pragma once
// zelvano-cli import: clients or products brought in from a spreadsheet
// saved as CSV, all rows or none.
#include <iosfwd>
#include <string>
#include <vector>

namespace zel::cli {

// import clienti|prodotti FILE.csv [--folder DIR] [--dry-run] [--update]
// [--separator X]. Prints one line per refused row, then the count of rows
// imported and refused. Returns 0 when every row was imported (or, with
// --dry-run, would be), 1 when a row or the table is refused (nothing is
// written), and throws UsageError for wrong arguments.
int importCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                  std::ostream& err);

// The paragraph of the usage text that describes the command.
std::string importUsageText();

}  // namespace zel::cli
