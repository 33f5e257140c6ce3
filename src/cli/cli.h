#pragma once
// zelvano-cli: a command-line companion for scripts, backups and support.
// Its commands read the program's files; only password, import, backup and
// restore write, as the help text says of each.
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"

namespace zel::cli {

// Runs one command. `args` are the arguments after the program name. The
// command's results go to `out`, diagnostics to `err`; `in` serves commands
// that read an answer from the user. Never throws.
int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err);

// The text printed by --help and after a usage error.
std::string usageText();

// A Windows-1252 text as a JSON string literal in UTF-8, quotes included:
// quotes and backslashes escaped, control characters (C0, DEL and C1) as
// \u00XX.
std::string jsonString(std::string_view text);

}  // namespace zel::cli
