#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "store/layout.h"
#include "store/recordfile.h"
#include "support/clirun.h"
#include "support/files.h"
#include "support/records.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::putField;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

using Result = test::CliResult;
using test::recordOf;
using test::runCli;
using test::writeRecords;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream s(text);
  for (std::string l; std::getline(s, l);) out.push_back(l);
  return out;
}

TEST(Cli, HelpAndUsageErrors) {
  const Result help = runCli({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("dump"), std::string::npos);
  EXPECT_NE(help.out.find("verify"), std::string::npos);
  EXPECT_EQ(help.out, cli::usageText());
  EXPECT_EQ(runCli({"verify", "--help"}).code, 0);

  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"explode"},
      {"dump"},
      {"dump", "a.for", "b.for"},
      {"dump", "--colour", "a.for"},
      {"dump", "--kind"},
      {"dump", "--kind", "fatture", "a.for"},
      {"dump", "notes.txt"},
      {"verify"},
      {"verify", "a.for", "readme.md"},
  };
  for (const auto& args : wrong) {
    const Result r = runCli(args);
    EXPECT_EQ(r.code, 2) << (args.empty() ? "(none)" : args[0]) << " " << args.size();
    EXPECT_NE(r.err.find("Usage:"), std::string::npos);
    EXPECT_EQ(r.out, "");
  }
}

TEST(Cli, JsonStringsAreEscapedUtf8) {
  EXPECT_EQ(cli::jsonString("plain"), "\"plain\"");
  EXPECT_EQ(cli::jsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(cli::jsonString("r1\r\nr2\t\x01\x1F\x7F"),
            "\"r1\\u000d\\u000ar2\\u0009\\u0001\\u001f\\u007f\"");
  // Windows-1252 letters become UTF-8; the undefined bytes are C1 controls.
  EXPECT_EQ(cli::jsonString("\x80 \xE8 \x81\x9D"), "\"\xE2\x82\xAC \xC3\xA8 \\u0081\\u009d\"");
  EXPECT_EQ(cli::jsonString(""), "\"\"");
}

TEST(Cli, DumpsClientsOneJsonObjectPerLine) {
  TempFolder dir;
  const Layout& l = clientLayout();
  writeRecords(dir / "Anagrafica.pro", l,
               {recordOf(l, {{"Codice", "C1"}, {"Persona", "Societ\xE0 \"Alfa\""},
                             {"Note", "riga 1\r\nriga 2"}, {"CartellaDesc", "fine"}}),
                recordOf(l, {{"Codice", "C2"}, {"Persona", "B\\C"}})});
  const Result r = runCli({"dump", (dir / "Anagrafica.pro").string()});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "");
  const auto out = lines(r.out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].rfind("{\"record\": 1, \"Codice\": \"C1\", "
                         "\"Persona\": \"Societ\xC3\xA0 \\\"Alfa\\\"\", \"Ufficio\": \"\", ",
                         0),
            0u)
      << out[0];
  EXPECT_NE(out[0].find("\"Note\": \"riga 1\\u000d\\u000ariga 2\""), std::string::npos);
  const std::string end = "\"CartellaDesc\": \"fine\"}";
  EXPECT_EQ(out[0].substr(out[0].size() - end.size()), end);
  EXPECT_EQ(out[1].rfind("{\"record\": 2, \"Codice\": \"C2\", \"Persona\": \"B\\\\C\"", 0), 0u);
  // Every field appears once, in file order.
  size_t from = 0;
  for (const FieldDef& f : l.fields()) {
    const size_t at = out[1].find(std::string("\"") + f.name + "\": ", from);
    ASSERT_NE(at, std::string::npos) << f.name;
    from = at + 1;
  }
}

TEST(Cli, KindComesFromTheNameOrFromTheOption) {
  TempFolder dir;
  writeRecords(dir / "MATERIALI.PRO", productLayout(),
               {recordOf(productLayout(), {{"Codice", "A"}, {"Giacenza", "3"}})});
  writeRecords(dir / "Lavori di marzo.For", supplyLayout(),
               {recordOf(supplyLayout(), {{"Prodotto", "Vite"}, {"Importo", "2,50"}})});
  writeRecords(dir / "copia.bin", supplyLayout(),
               {recordOf(supplyLayout(), {{"Prodotto", "Dado"}})});
  writeRecords(dir / "anagrafica.pro", clientLayout(),
               {recordOf(clientLayout(), {{"Codice", "K"}})});

  Result r = runCli({"dump", (dir / "MATERIALI.PRO").string()});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("\"Tipologia\": \"\""), std::string::npos);
  EXPECT_NE(r.out.find("\"Giacenza\": \"3\""), std::string::npos);

  r = runCli({"dump", (dir / "Lavori di marzo.For").string()});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.rfind("{\"record\": 1, \"Prodotto\": \"Vite\", \"Data\": \"\"", 0), 0u);

  r = runCli({"dump", "--kind", "fornitura", (dir / "copia.bin").string()});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.rfind("{\"record\": 1, \"Prodotto\": \"Dado\"", 0), 0u);
  r = runCli({"dump", (dir / "copia.bin").string(), "--kind=fornitura"});
  EXPECT_EQ(r.code, 0);

  r = runCli({"dump", (dir / "anagrafica.pro").string()});
  EXPECT_NE(r.out.find("\"Persona\": \"\""), std::string::npos);
}

TEST(Cli, DumpOfAMissingFileFailsAndCreatesNothing) {
  TempFolder dir;
  const Result r = runCli({"dump", (dir / "Anagrafica.pro").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Anagrafica.pro"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "Anagrafica.pro"));
}

// A client file with one clean record, one damaged record and a torn tail.
fs::path damagedClients(const TempFolder& dir) {
  const Layout& l = clientLayout();
  const fs::path file = dir / "Anagrafica.pro";
  writeRecords(file, l, {recordOf(l, {{"Codice", "A"}, {"Persona", "uno"}}),
                         recordOf(l, {{"Codice", "B"}, {"Persona", "due"}})});
  auto bytes = readBytes(file);
  putField(bytes, 3890 + l.offset(l.indexOf("Persona")), std::string(50, 'z'), 200);
  putField(bytes, 3890 + l.offset(l.indexOf("Iva")), "", 12);
  bytes.insert(bytes.end(), 100, 'x');
  writeBytes(file, bytes);
  return file;
}

TEST(Cli, VerifyReportsEveryAnomaly) {
  TempFolder dir;
  const fs::path file = damagedClients(dir);
  const auto before = readBytes(file);
  const Result r = runCli({"verify", file.string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(lines(r.out), (std::vector<std::string>{
                              file.string() + ": clienti, 2 records",
                              "  record 2, field Persona: length byte 200 above capacity 50",
                              "  record 2, field Iva: length byte 12 above capacity 11",
                              "  partial record of 100 bytes at the end (not counted)",
                              file.string() + ": 3 anomalies"}));
  EXPECT_EQ(readBytes(file), before);  // verifying changes nothing

  // The dump still shows the damaged record, cut to the capacity.
  const Result d = runCli({"dump", file.string()});
  EXPECT_EQ(d.code, 0);
  ASSERT_EQ(lines(d.out).size(), 2u);
  EXPECT_NE(lines(d.out)[1].find("\"Persona\": \"" + std::string(50, 'z') + "\""),
            std::string::npos);
  EXPECT_NE(d.err.find("partial record of 100 bytes"), std::string::npos);
}

TEST(Cli, VerifyGoesOnPastAnUnreadableFile) {
  TempFolder dir;
  writeRecords(dir / "a.for", supplyLayout(), {recordOf(supplyLayout(), {{"Prodotto", "x"}})});
  writeBytes(dir / "vuota.for", {});
  Result r = runCli({"verify", (dir / "a.for").string(), (dir / "vuota.for").string()});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(lines(r.out), (std::vector<std::string>{
                              (dir / "a.for").string() + ": fornitura, 1 record, no anomalies",
                              (dir / "vuota.for").string() + ": fornitura, 0 records, no anomalies"}));

  fs::create_directory(dir / "cartella.for");
  r = runCli({"verify", (dir / "manca.for").string(), (dir / "cartella.for").string(),
              (dir / "a.for").string()});
  EXPECT_EQ(r.code, 1);
  const auto out = lines(r.out);
  ASSERT_EQ(out.size(), 3u) << r.out;
  EXPECT_EQ(out[0].rfind((dir / "manca.for").string() + ": cannot be read:", 0), 0u);
  EXPECT_EQ(out[1].rfind((dir / "cartella.for").string() + ": cannot be read:", 0), 0u);
  EXPECT_EQ(out[2], (dir / "a.for").string() + ": fornitura, 1 record, no anomalies");
  EXPECT_FALSE(fs::exists(dir / "manca.for"));
}

}  // namespace
}  // namespace zel
