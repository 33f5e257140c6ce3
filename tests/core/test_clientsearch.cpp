#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/clientsearch.h"
#include "support/records.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

Record clientOf(std::initializer_list<std::pair<size_t, Text>> fields) {
  return test::recordOf(clientLayout(), fields);
}
void writeClients(const fs::path& file, const std::vector<Record>& clients) {
  test::writeRecords(file, clientLayout(), clients);
}

std::vector<Text> codes(const TextList& lines) {
  std::vector<Text> out;
  for (std::string_view l : lines) out.push_back(trim(l.substr(9, 20)));
  return out;
}

TEST(ClientSearch, TheLineHasFixedColumns) {
  const Record c = clientOf({{client::Codice, "ABCDEFGHIJKLMNOPQRSTUVWXY"},  // 25: cut to 20
                             {client::Persona, "Rossi Mario"},
                             {client::Citta, "20100 Milano (MI)"},
                             {client::TelCel, "333 1234567"}});
  EXPECT_EQ(clientLine(c),
            "Cod. id. ABCDEFGHIJKLMNOPQRST  Rossi Mario                     Uff. "
            "                                - 20100 Milano (MI)          -  Cel. 333 1234567");
}

TEST(ClientSearch, EveryFilledCriterionMustMatchAsTyped) {
  TempFolder dir;
  const fs::path file = dir / "Anagrafica.pro";
  writeClients(file, {clientOf({{client::Codice, "1"}, {client::Persona, "Rossi Mario"},
                                {client::Citta, "20100 Milano (MI)"}}),
                      clientOf({{client::Codice, "2"}, {client::Persona, "ROSSINI SPA"},
                                {client::Citta, "00100 Roma (RM)"}}),
                      clientOf({{client::Codice, "3"}, {client::Persona, "Rossi"},
                                {client::Citta, "CITT\xC0 di Castello"}}),
                      clientOf({{client::Codice, "4"}, {client::Persona, "Bianchi"},
                                {client::Citta, "Citt\xE0 di Castello"}})});
  auto search = [&](Criteria c) { return codes(searchClients(file, c)); };

  EXPECT_EQ(search({{client::Persona, "ross"}, {client::Citta, "MI"}}), std::vector<Text>{"1"});
  // A criterion of blanks takes no part; one with a trailing blank keeps it.
  EXPECT_EQ(search({{client::Persona, "ross"}, {client::Ufficio, "   "}}),
            (std::vector<Text>{"1", "2", "3"}));
  EXPECT_EQ(search({{client::Persona, "rossi "}}), std::vector<Text>{"1"});
  // Only A-Z fold: an accented letter matches itself in its own case.
  EXPECT_EQ(search({{client::Citta, "citt\xE0"}}), std::vector<Text>{"4"});
  EXPECT_EQ(search({{client::Citta, "Citt\xC0"}}), std::vector<Text>{"3"});
  EXPECT_EQ(search({}).size(), 4u);
}

TEST(ClientSearch, ListIsSortedWithoutRegardToCase) {
  TempFolder dir;
  const fs::path file = dir / "Anagrafica.pro";
  writeClients(file, {clientOf({{client::Codice, "beta"}}), clientOf({{client::Codice, "Zeta"}}),
                      clientOf({{client::Codice, "alfa"}}), clientOf({{client::Codice, "ALFA"}})});
  EXPECT_EQ(codes(searchClients(file, {})), (std::vector<Text>{"ALFA", "alfa", "beta", "Zeta"}));
}

TEST(ClientSearch, PickGivesTheLastRecordWithTheLine) {
  TempFolder dir;
  const fs::path file = dir / "Anagrafica.pro";
  writeClients(file, {clientOf({{client::Codice, "C1"}, {client::Persona, "Rossi"}, {client::Email, "a@x.it"}}),
                      clientOf({{client::Codice, "C2"}, {client::Persona, "Verdi"}}),
                      clientOf({{client::Codice, "C1"}, {client::Persona, "Rossi"}, {client::Email, "b@x.it"}}),
                      clientOf({{client::Codice, "C3"}, {client::Persona, "Neri"}})});
  const TextList lines = searchClients(file, {{client::Persona, "rossi"}});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], lines[1]);
  const auto picked = pickClient(file, Text(lines[0]) + "  ");
  ASSERT_TRUE(picked);
  EXPECT_EQ(picked->number, 3u);
  EXPECT_EQ(picked->record[client::Email], "b@x.it");
  EXPECT_FALSE(pickClient(file, "Cod. id. C9"));
}

TEST(ClientSearch, TheWindowCreatesAMissingArchiveTheToolDoesNot) {
  TempFolder dir;
  EXPECT_TRUE(searchClients(dir / "Anagrafica.pro", {}, Access::ReadOnly).empty());
  EXPECT_FALSE(fs::exists(dir / "Anagrafica.pro"));
  EXPECT_THROW(searchClients(dir / "nessuna" / "Anagrafica.pro", {}, Access::ReadOnly), StoreError);
  EXPECT_TRUE(searchClients(dir / "Anagrafica.pro", {}).empty());
  EXPECT_EQ(fs::file_size(dir / "Anagrafica.pro"), 0u);
}

}  // namespace
}  // namespace zel
