#pragma once
// zelvano-cli search: the lists of the search windows, printed line by line
// exactly as the windows show them.
#include <iosfwd>
#include <string>
#include <vector>

namespace zel::cli {

// `args` are the arguments after the word "search". Prints the lines in
// UTF-8, one per line, in the window's order. Returns 0 when done; 1 when an
// archive cannot be read, or a listing that the window would cut short
// silently stops early (what was listed is printed, the reason goes to
// `err`); throws UsageError on wrong arguments. Creates and changes nothing.
int searchCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                  std::ostream& err);

// The paragraph of the usage text that describes the command.
std::string searchUsageText();

}  // namespace zel::cli
