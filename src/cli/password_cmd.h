#pragma once
// zelvano-cli password [FOLDER]: sets the program's password from the command
// line, for a first installation or when the password is lost.
#include <iosfwd>
#include <string>
#include <vector>

namespace zel::cli {

// Reads a new password from `in` and writes it into the password store of
// FOLDER (default: the folder of the running executable), normalised as the
// login window compares it: letters a-z upper-cased, blanks and control
// characters around it removed. The text is read as UTF-8 and stored in
// Windows-1252, as the program types it.
//
// When `in` is the standard input and that is a terminal, the password is
// asked twice ("Nuova password: ", "Conferma: ") with echo off and both
// entries must agree; otherwise one line is read.
//
// `args` are the arguments after the word "password". Returns 0 when the
// password is stored; 1 when it is refused (empty, longer than 230
// characters, a character Windows-1252 cannot hold, entries that differ) or
// cannot be stored; 2 on a usage error. Messages go to `err`, the
// confirmation to `out`. Never throws.
int passwordCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                    std::ostream& err);

// The paragraph of the usage text that describes the command.
std::string passwordUsageText();

}  // namespace zel::cli
