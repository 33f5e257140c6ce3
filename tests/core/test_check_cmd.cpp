#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/clirun.h"

namespace zel {
namespace {

using Result = test::CliResult;

Result check(std::vector<std::string> args) {
  args.insert(args.begin(), "check");
  return test::runCli(args);
}

TEST(CheckCommand, PrintsTheWindowsResultInUtf8) {
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string out;
  };
  const Case cases[] = {
      {{"codice-fiscale", "rssmra85t10a562s"}, 0, "Il codice fiscale digitato è VALIDO.\n"},
      // No length gate: a short code is simply not valid.
      {{"codice-fiscale", "RSSMRA85T10A562"}, 1, "Attenzione: il codice fiscale digitato è ERRATO.\n"},
      // Ā has no Windows-1252 form; as '?' it would be worth 0, as the A it replaces.
      {{"codice-fiscale", "RSSMRA85T10Ā562S"}, 1, "Attenzione: il codice fiscale digitato è ERRATO.\n"},
      {{"partita-iva", "12345670967"}, 0,
       "Il numero di partita IVA digitato risulta VALIDO.\n\n"
       "E' stato rilasciato dall'Ufficio IVA del Comune di Monza (Milano 2).\n"},
      {{"partita-iva", "12345670968"}, 1,
       "Attenzione: il numero di partita IVA digitato risulta ERRATO!\n\n"
       "Non è quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha rilasciato.\n"},
      {{"carta", "4111 1111 1111 1111"}, 0,
       "Il numero di carta di credito 4111 1111 1111 1111 risulta valido.\n\n"
       "La carta di credito è del tipo Visa.\n"},
      {{"--folder", "/nonexistent", "iban", "IBAN IT60 X054 2811 1010 0000 0123 456"}, 0,
       "Il codice IBAN digitato è ESATTO.\n"},
      {{"iban", "IT60X0542811101000000123465"}, 1, "Attenzione: il codice IBAN digitato è ERRATO!\n"},
  };
  for (const Case& c : cases) {
    const Result r = check(c.args);
    EXPECT_EQ(r.code, c.code) << c.args.back();
    EXPECT_EQ(r.out, c.out);
  }
  EXPECT_EQ(check({"carta", "0000000000000000"}).code, 1);
}

TEST(CheckCommand, UsageErrors) {
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"iban"},
      {"bic", "UNCRITMM"},
      {"iban", "IT60X0542811101000000123456", "extra"},
      {"--colour", "iban", "IT60X0542811101000000123456"},
  };
  for (const auto& args : wrong) {
    const Result r = check(args);
    EXPECT_EQ(r.code, 2) << args.size();
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Usage:"), std::string::npos);
  }
}

}  // namespace
}  // namespace zel
