#include "cli/check_cmd.h"

#include <ostream>

#include "checks/core/carta.h"
#include "checks/core/codfisc.h"
#include "checks/core/iban.h"
#include "checks/core/partitaiva.h"
#include "cli/command.h"
#include "core/text.h"

namespace zel::cli {
namespace {

const char kUsage[] =
    "  check codice-fiscale|partita-iva|carta|iban TEXT\n"
    "      Checks TEXT as a codice fiscale, a partita IVA, a credit card number\n"
    "      or an IBAN, as the client card's checker windows do, and prints the\n"
    "      window's message (with the VAT office or the card network). There is\n"
    "      no length gate: a text of the wrong length is simply not valid.\n"
    "      A character without a Windows-1252 form makes TEXT not valid. No file\n"
    "      is read (--folder is accepted and unused). Exit status 0 when valid,\n"
    "      1 when not, 2 on a usage error.\n";

struct Check {
  const char* kind;
  CheckResult (*result)(std::string_view);
};

const Check kChecks[] = {
    {"codice-fiscale", codFiscResult},
    {"partita-iva", partitaIvaResult},
    {"carta", cartaResult},
    {"iban", ibanResult},
};

// A message box's line breaks are CR LF; a terminal wants LF.
std::string linesForTerminal(const Text& text) {
  std::string out = cp1252ToUtf8(text);
  for (size_t at; (at = out.find("\r\n")) != std::string::npos;) out.erase(at, 1);
  return out;
}

}  // namespace

std::string checkUsageText() { return kUsage; }

int checkCommand(const std::vector<std::string>& args, std::istream&, std::ostream& out,
                 std::ostream&) {
  const ParsedArgs parsed = parseArgs(args, {"folder"});
  if (parsed.positional.size() != 2)
    throw UsageError{"check takes a kind (codice-fiscale, partita-iva, carta or iban) and a text"};
  const std::string& kind = parsed.positional[0];
  for (const Check& c : kChecks) {
    if (kind != c.kind) continue;
    const CheckResult r = checkTyped(c.result, trim(parsed.positional[1]));
    out << linesForTerminal(r.text) << '\n';
    return r.valid ? kExitOk : kExitFailed;
  }
  throw UsageError{"unknown kind '" + kind + "' (codice-fiscale, partita-iva, carta or iban)"};
}

}  // namespace zel::cli
