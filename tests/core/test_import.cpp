// Clients and products brought in from a spreadsheet's CSV: the reading of
// the table, the checks of each row, and the archive changed all at once or
// not at all.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <string>
#include <vector>

#include "core/csv.h"
#include "output/core/gridimport.h"
#include "store/archives.h"
#include "store/fields.h"
#include "store/fileio.h"
#include "store/recordfile.h"
#include "support/clirun.h"
#include "support/files.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::runCli;
using test::TempFolder;

std::vector<std::vector<std::string>> readAll(std::string_view text, char sep) {
  csv::Reader reader(text, sep);
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> cells;
  while (reader.next(cells)) rows.push_back(cells);
  return rows;
}

TEST(CsvReader, QuotedCellsHoldSeparatorsQuotesAndLineBreaks) {
  using Rows = std::vector<std::vector<std::string>>;
  EXPECT_EQ(readAll("a;\"b;c\";\"d \"\"e\"\"\"\r\n\"f\r\ng\";;h\n", ';'),
            (Rows{{"a", "b;c", "d \"e\""}, {"f\r\ng", "", "h"}}));
  EXPECT_EQ(readAll("x,y\n\n\"z\"", ','), (Rows{{"x", "y"}, {""}, {"z"}}));
  // Rows count as the spreadsheet shows them, whatever line breaks a cell holds.
  csv::Reader reader("\"1\n2\n3\";a\nb\n\"open;c\n", ';');
  std::vector<std::string> cells;
  ASSERT_TRUE(reader.next(cells));
  ASSERT_TRUE(reader.next(cells));
  EXPECT_EQ(reader.row(), 2u);
  EXPECT_THROW(reader.next(cells), csv::CsvError);
}

TEST(CsvReader, TheHeaderTellsTheSeparator) {
  EXPECT_EQ(csv::detectSeparator("Codice;\"CAP, citt\xC3\xA0\"\n1,2;3"), ';');
  EXPECT_EQ(csv::detectSeparator("Codice,\"CAP, citt\xC3\xA0; e\"\n1;2"), ',');
  EXPECT_EQ(csv::detectSeparator("Codice\n;"), ',');
}

TEST(ImportTable, EncodingIsUtf8WithOrWithoutMarkElseWindows1252) {
  EXPECT_TRUE(tableText("\xEF\xBB\xBF" "a").utf8);
  EXPECT_EQ(tableText("\xEF\xBB\xBF" "a").text, "a");
  EXPECT_TRUE(tableText("citt\xC3\xA0").utf8);
  EXPECT_FALSE(tableText("citt\xE0").utf8);
}

TEST(ImportHeader, ExportHeadingsInAnyOrderAndTheCodeRequired) {
  const std::vector<int> fields =
      headerFields(productGrid(), {"", "  Giacenza ", "codice ARTICOLO", "Sottoscorta", "Modalit\xC3\xA0 di ordine merce"}, true);
  EXPECT_EQ(fields, (std::vector<int>{-1, product::Giacenza, product::Codice, product::Sottoscorta, product::Ordine}));
  EXPECT_EQ(headerFields(clientGrid(), {"Codice identificativo", "CAP, citt\xE0 e sigla prov."}, false)[1], client::Citta);
  try {
    headerFields(clientGrid(), {"Codice identificativo", "Telefono"}, true);
    FAIL() << "an unknown heading was taken";
  } catch (const ImportError& e) {
    EXPECT_NE(std::string(e.what()).find("\"Telefono\""), std::string::npos) << e.what();
  }
  // A field the export shows is named by its heading only.
  EXPECT_THROW(headerFields(productGrid(), {"Codice articolo", "Prezzo"}, true), ImportError);
  EXPECT_THROW(headerFields(clientGrid(), {"Note", "Cliente (persona o azienda)"}, true), ImportError);
  EXPECT_THROW(headerFields(clientGrid(), {"Codice identificativo", "Note", " Note"}, true), ImportError);
}

std::vector<std::string> reasonsOf(const ExportGrid& grid, const std::vector<std::string>& header,
                                   const std::vector<std::string>& cells) {
  return checkRow(grid, headerFields(grid, header, true), header, cells, true).reasons;
}

TEST(ImportRow, TextsAreTakenUpToTheirFieldsCapacity) {
  const std::vector<std::string> header{"Codice identificativo", "Partita IVA"};
  EXPECT_TRUE(reasonsOf(clientGrid(), header, {" C1 ", std::string(11, '1')}).empty());
  const auto past = reasonsOf(clientGrid(), header, {"C1", std::string(12, '1')});
  ASSERT_EQ(past.size(), 1u);
  EXPECT_NE(past[0].find("\"Partita IVA\""), std::string::npos) << past[0];
  EXPECT_TRUE(reasonsOf(clientGrid(), {"Codice identificativo"}, {std::string(50, 'a')}).empty());
  // Accented letters count as one character each, as the archive holds them.
  std::string accented;
  for (int i = 0; i < 50; ++i) accented += "\xC3\xA8";
  EXPECT_TRUE(reasonsOf(clientGrid(), {"Codice identificativo"}, {accented}).empty());
  EXPECT_FALSE(reasonsOf(clientGrid(), {"Codice identificativo"}, {accented + "e"}).empty());
}

TEST(ImportRow, RefusesWhatTheArchiveOrTheProductCardCannotTake) {
  const auto omega = reasonsOf(clientGrid(), {"Codice identificativo", "Note"}, {"C1", "ohm \xCE\xA9"});
  ASSERT_EQ(omega.size(), 1u);
  EXPECT_NE(omega[0].find("\xCE\xA9"), std::string::npos) << omega[0];
  EXPECT_EQ(reasonsOf(clientGrid(), {"Codice identificativo", "Note"}, {"", "x"}).size(), 1u);
  EXPECT_EQ(reasonsOf(clientGrid(), {"Codice identificativo"}, {"C1", "extra"}).size(), 1u);

  const std::vector<std::string> header{"Codice articolo", "Prezzo unitario", "Giacenza", "Sottoscorta"};
  EXPECT_TRUE(reasonsOf(productGrid(), header, {"P", "30000000", "30000000,0", "0"}).empty());
  for (const char* bad : {"30000001", "30000000,01", "12.50", "-1", "1,2,3", "1E3", "12 50"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(reasonsOf(productGrid(), header, {"P", bad, "1", "1"}).size(), 1u);
    EXPECT_EQ(reasonsOf(productGrid(), header, {"P", "1", "1", bad}).size(), 1u);
  }
}

TEST(ImportRow, AProductIsNormalisedAsTheCardSavesIt) {
  const std::vector<std::string> header{"Codice articolo", "Prezzo unitario", "Giacenza"};
  const Record r = checkRow(productGrid(), headerFields(productGrid(), header, true), header,
                            {"P", "", "7,5"}, true).record;
  EXPECT_EQ(r[product::Prezzo], "0,00");
  EXPECT_EQ(r[product::Giacenza], "8");
  EXPECT_EQ(r[product::Sottoscorta], "0");
}

class ImportIntoArchive : public ::testing::Test {
 protected:
  fs::path archive() const { return dir / kClientArchive; }
  void writeClients(std::initializer_list<const char*> codes) {
    auto f = RecordFile::openForUpdate(archive(), clientLayout());
    for (const char* c : codes) {
      Record r = emptyRecord(clientLayout());
      r[client::Codice] = c;
      r[client::Persona] = std::string("Persona ") + c;
      r[client::File01] = "/allegati/contratto.pdf";
      f.append(r);
    }
  }
  ImportReport import(const std::string& csv, bool update = false, bool dryRun = false) {
    ImportOptions options;
    options.update = update;
    options.dryRun = dryRun;
    return importTable(clientGrid(), csv, archive(), dir / kClientTemp, options);
  }
  std::vector<Record> records() const { return readAllRecords(archive(), clientLayout()); }

  TempFolder dir;
};

TEST_F(ImportIntoArchive, AllRowsOrNone) {
  writeClients({"A", "B"});
  const auto before = readBytes(archive());
  const ImportReport refused = import("Codice identificativo;Partita IVA\nN1;1\nN2;123456789012\nA;\n");
  EXPECT_FALSE(refused.written);
  ASSERT_EQ(refused.refused.size(), 2u);
  EXPECT_EQ(refused.refused[0].row, 3u);
  EXPECT_EQ(refused.refused[1].row, 4u);  // the code already in the archive
  EXPECT_EQ(readBytes(archive()), before);

  const ImportReport done = import("Codice identificativo;Partita IVA\nN1;1\nN2;2\n");
  EXPECT_TRUE(done.written);
  EXPECT_EQ(done.appended, 2u);
  ASSERT_EQ(records().size(), 4u);
  EXPECT_EQ(records()[3][client::Iva], "2");
}

TEST_F(ImportIntoArchive, UpdateOverwritesTheFirstRecordOfTheCodeKeepingTheOtherFields) {
  writeClients({"A", "B", "A"});
  EXPECT_EQ(import("Codice identificativo;Note\nA;due\nA;tre\n", true).refused.size(), 1u);  // one record, two rows
  const ImportReport report = import("Codice identificativo;Note\nA;nota\nNUOVO;x\n", true);
  EXPECT_EQ(report.updated, 1u);
  EXPECT_EQ(report.appended, 1u);
  const auto all = records();
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0][client::Note], "nota");
  EXPECT_EQ(all[0][client::Persona], "Persona A");
  EXPECT_EQ(all[0][client::File01], "/allegati/contratto.pdf");
  EXPECT_EQ(all[2][client::Note], "");
}

TEST_F(ImportIntoArchive, ADryRunWritesNothingNotEvenANewArchive) {
  const ImportReport report = import("Codice identificativo\nA\n", false, true);
  EXPECT_EQ(report.appended, 1u);
  EXPECT_FALSE(report.written);
  EXPECT_FALSE(fs::exists(archive()));
  EXPECT_FALSE(import("Codice identificativo;Note\n;\n \n").written);  // no rows: nothing to write
  EXPECT_FALSE(fs::exists(archive()));
}

TEST_F(ImportIntoArchive, ADeskHoldingTheArchiveMakesItWaitThenRefuseUnchanged) {
  writeClients({"A"});
  const auto before = readBytes(archive());
  const auto wait = setLockWait(std::chrono::milliseconds(100));
  {
    FileHandle desk = openLocked(archive(), O_RDONLY, Lock::Shared);
    EXPECT_THROW(import("Codice identificativo\nB\n"), StoreBusy);
  }
  setLockWait(wait);
  EXPECT_EQ(readBytes(archive()), before);
}

TEST(ImportCommand, ReportsRowsAndExitsAsTheOtherCommands) {
  TempFolder dir;
  const fs::path csv = dir / "clienti.csv";
  test::writeBytes(csv, {'C', 'o', 'd', 'i', 'c', 'e', ' ', 'i', 'd', 'e', 'n', 't', 'i', 'f', 'i', 'c',
                         'a', 't', 'i', 'v', 'o', '\n', 'A', '\n', '\n', 'B', '\n'});
  auto r = runCli({"import", "clienti", csv.string(), "--folder", dir.path().string()});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("2 righe importate, 0 rifiutate\n"), std::string::npos) << r.out;
  r = runCli({"import", "clienti", csv.string(), "--folder", dir.path().string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("riga 2: "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("riga 4: "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("0 righe importate, 2 rifiutate\n"), std::string::npos) << r.out;
  EXPECT_EQ(runCli({"import", "clienti", csv.string(), "--separator", ";;"}).code, 2);
  EXPECT_EQ(runCli({"import", "fornitori", csv.string()}).code, 2);
}

}  // namespace
}  // namespace zel
