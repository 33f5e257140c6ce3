#pragma once
// zelvano-cli check KIND TEXT: the identifier checks of the client card's
// checker windows, for scripts.
#include <iosfwd>
#include <string>
#include <vector>

namespace zel::cli {

// Checks TEXT (UTF-8, converted to Windows-1252 and trimmed as the card
// hands it over) as a codice fiscale, partita IVA, credit card number or
// IBAN, and prints in UTF-8 the message the checker window shows, office and
// network included. Unlike the windows it applies no length gate: a text of
// the wrong length is simply not valid. Returns 0 when valid, 1 when not;
// throws UsageError for wrong arguments.
int checkCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err);

// The paragraph of the usage text that describes the command.
std::string checkUsageText();

}  // namespace zel::cli
