#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "store/clientsearch.h"
#include "store/productsearch.h"
#include "store/supplysearch.h"
#include "support/clirun.h"
#include "support/records.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using Result = test::CliResult;
using test::recordOf;
using test::runCli;
using test::TempFolder;
using test::writeRecords;

template <class Lines>
std::string joined(const Lines& lines) {
  std::string out;
  for (std::string_view l : lines) out += cp1252ToUtf8(l) + "\n";
  return out;
}

TEST(SearchCommand, ClientsAsTheWindowListsThemInUtf8) {
  TempFolder dir;
  const Layout& l = clientLayout();
  writeRecords(dir / "Anagrafica.pro", l,
               {recordOf(l, {{"Codice", "2"}, {"Persona", "Rossi Mario"}, {"Citta", "Citt\xE0 (MI)"}}),
                recordOf(l, {{"Codice", "1"}, {"Persona", "Rossi Anna"}, {"Citta", "Roma"}}),
                recordOf(l, {{"Codice", "3"}, {"Persona", "rossi luca"}, {"Citta", "CITT\xC0 (MI)"}})});
  const Result r = runCli({"search", "clienti", "--folder", dir.path().string(), "--Persona", "ROSS",
                           "--Citta", "Citt\xC3\xA0 "});
  EXPECT_EQ(r.code, 0) << r.err;
  const std::string first = "Cod. id. 2                     Rossi Mario                     Uff. " +
                            std::string(32, ' ') + "- Citt\xC3\xA0 (MI)" + std::string(15, ' ') +
                            "  -  Cel. \n";
  EXPECT_EQ(r.out, first);
}

// A listing of several written blocks, merged from the parts of a split
// scan, prints every line once, in the list's order, its accents in UTF-8.
TEST(SearchCommand, ALongListingPrintsAsOne) {
  TempFolder dir;
  const Layout& l = clientLayout();
  std::vector<Record> clients;
  for (int i = 0; i < 20000; ++i)
    clients.push_back(recordOf(l, {{"Codice", std::to_string(i * 7919 % 20000)},
                                   {"Citta", i % 3 ? "Cant\xF9" : "Forl\xEC \x80"}}));
  writeRecords(dir / "Anagrafica.pro", l, clients);
  const Result r = runCli({"search", "clienti", "--folder", dir.path().string()});
  EXPECT_EQ(r.code, 0) << r.err;
  const TextList lines = searchClients(dir / "Anagrafica.pro", {});
  ASSERT_EQ(lines.size(), 20000u);
  EXPECT_EQ(r.out, joined(lines));
}

// A NUL in a damaged record prints as the list shows it, a blank: the output
// stays text.
TEST(SearchCommand, ControlCharactersOfADamagedRecordPrintAsBlanks) {
  TempFolder dir;
  const Layout& l = clientLayout();
  writeRecords(dir / "Anagrafica.pro", l,
               {recordOf(l, {{"Codice", "1"}, {"Persona", std::string("R\x01os\0si", 7)}})});
  const Result r = runCli({"search", "clienti", "--folder", dir.path().string()});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.find('\0'), std::string::npos);
  EXPECT_EQ(r.out.find('\x01'), std::string::npos);
  EXPECT_NE(r.out.find("R os si "), std::string::npos) << r.out;
}

TEST(SearchCommand, ProductsUnderStockAndMissingArchives) {
  TempFolder dir;
  const Layout& l = productLayout();
  writeRecords(dir / "Materiali.pro", l,
               {recordOf(l, {{"Codice", "A"}, {"Marca", "Bosch"}, {"Giacenza", "2"}, {"Sottoscorta", "5"}}),
                recordOf(l, {{"Codice", "B"}, {"Marca", "Makita"}, {"Giacenza", "9"}, {"Sottoscorta", "5"}})});
  const std::string folder = dir.path().string();
  Result r = runCli({"search", "prodotti", "--folder", folder, "--Marca", "makita"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, joined(searchProducts(dir / "Materiali.pro", {{product::Marca, "makita"}})));

  r = runCli({"search", "sottoscorta", "--folder", folder});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "Cod. A - Bosch  - Fornitore:  - Recapito:  - Costo:  - Giacenza: 2\n");

  TempFolder empty;
  for (const char* what : {"clienti", "prodotti", "sottoscorta"}) {
    r = runCli({"search", what, "--folder", empty.path().string()});
    EXPECT_EQ(r.code, 0) << what;
    EXPECT_EQ(r.out, "") << what;
  }
  EXPECT_TRUE(fs::is_empty(empty.path()));
  EXPECT_EQ(runCli({"search", "clienti", "--folder", (empty / "manca").string()}).code, 1);
}

TEST(SearchCommand, SupplyAndPendingPayments) {
  TempFolder dir;
  const Layout& l = supplyLayout();
  const fs::path file = dir / "Cantiere.for";
  writeRecords(file, l,
               {recordOf(l, {{"Prodotto", "Vite"}, {"Cliente", "ROSSI SRL"}, {"Importo", "10,10"},
                             {"Pagamento", "In sospeso"}}),
                recordOf(l, {{"Prodotto", "Dado"}, {"Cliente", "Bianchi"}, {"Importo", "5,00"},
                             {"Pagamento", "Saldato"}}),
                recordOf(l, {{"Prodotto", "Chiodo"}, {"Cliente", "Rossi"}, {"Importo", "20,25"},
                             {"Pagamento", "in sospeso"}})});
  Result r = runCli({"search", file.string(), "--Cliente", "rossi"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, joined(searchSupply(file, {{supply::Cliente, "rossi"}})));
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);

  r = runCli({"search", "sospesi", file.string()});
  EXPECT_EQ(r.code, 0);
  const auto pending = pendingItems(file);
  EXPECT_EQ(r.out, joined(pending.lines) + "Totale importi in sospeso: 30,35\n");
  EXPECT_NE(r.out.find("Vite"), std::string::npos);
  EXPECT_LT(r.out.find("Vite"), r.out.find("Chiodo"));  // record order

  r = runCli({"search", "sospesi", (dir / "Nuova.for").string()});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "Totale importi in sospeso: 0,00\n");
  EXPECT_FALSE(fs::exists(dir / "Nuova.for"));
}

TEST(SearchCommand, UsageErrors) {
  const std::vector<std::vector<std::string>> wrong = {
      {"search"},
      {"search", "fatture"},
      {"search", "clienti", "--Marca", "x"},
      {"search", "clienti", "extra"},
      {"search", "prodotti", "--Persona", "x"},
      {"search", "sottoscorta", "--Codice", "x"},
      {"search", "sospesi"},
      {"search", "sospesi", "Anagrafica.pro"},
      {"search", "sospesi", "a.for", "b.for"},
      {"search", "a.for", "--folder", "x"},
      {"search", "clienti", "--Persona"},
      {"search", "clienti", "--Persona", "\xE2\x9C\x93"},  // no Windows-1252 form
  };
  for (const auto& args : wrong) {
    const Result r = runCli(args);
    EXPECT_EQ(r.code, 2) << args.back();
    EXPECT_NE(r.err.find("Usage:"), std::string::npos) << args.back();
    EXPECT_EQ(r.out, "");
  }
}

}  // namespace
}  // namespace zel
