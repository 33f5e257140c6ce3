#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "output/core/cards.h"
#include "output/core/docx.h"
#include "output/core/grids.h"
#include "output/core/outputfile.h"
#include "output/core/xlsx.h"
#include "store/layout.h"
#include "store/recordfile.h"
#include "store/supplyitem.h"
#include "support/clirun.h"
#include "support/files.h"
#include "support/records.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::openFiles;
using test::TempFolder;
using test::writeBytes;

// Every field holds its own name, so a cell tells which field it shows.
Record namedFields(const Layout& layout, const std::string& prefix = "") {
  Record r = emptyRecord(layout);
  for (size_t i = 0; i < layout.fieldCount(); ++i) r[i] = prefix + layout.field(i).name;
  return r;
}

std::vector<std::vector<Text>> collect(const GridRows& rows) {
  std::vector<std::vector<Text>> out;
  rows.visit([&](size_t r, size_t total, const std::vector<Text>& cells) {
    EXPECT_EQ(r, out.size());
    EXPECT_GT(total, r);
    out.push_back(cells);
  });
  return out;
}

std::set<std::string> filesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

TEST(ExportGrids, ShowRecordNumberAndTheirFieldsUnderTheHeadings) {
  TempFolder dir;
  // Each grid shows its layout's fields in file order up to its last column,
  // the attachments never, and the product grid not the under-stock threshold.
  struct Case {
    const ExportGrid& grid;
    size_t columns;
    std::vector<std::string> shown;
  };
  const auto leading = [](const Layout& layout, size_t n, const char* skipped = "") {
    std::vector<std::string> names;
    for (size_t i = 0; names.size() < n; ++i)
      if (layout.field(i).name != std::string(skipped)) names.push_back(layout.field(i).name);
    return names;
  };
  const Case cases[] = {
      {clientGrid(), 26, leading(clientLayout(), 25)},
      {productGrid(), 17, leading(productLayout(), 16, "Sottoscorta")},
      {supplyGrid(), 16, leading(supplyLayout(), 15)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.grid.sheetName);
    const fs::path file = dir / c.grid.layout->name();
    test::appendRecords(file, *c.grid.layout, {namedFields(*c.grid.layout, "a"), namedFields(*c.grid.layout, "b")});
    const auto rows = collect(ArchiveRows(c.grid, file, ArchiveAccess::ReadOnly));
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_EQ(rows[0].size(), c.columns);
    EXPECT_EQ(rows[0][0], "");
    for (size_t col = 1; col < c.columns; ++col) {
      EXPECT_EQ(rows[0][col][0], ' ') << "heading " << col << " keeps its leading blank";
      EXPECT_EQ(rows[2][col], std::string("b") + c.shown[col - 1]) << "column " << col;
    }
    EXPECT_EQ(rows[1][0], "1");
    EXPECT_EQ(rows[2][0], "2");
  }
}

TEST(ExportGrids, AnEmptyArchiveIsAnEmptyGridAndOnlyTheWindowsCreateIt) {
  TempFolder dir;
  const fs::path file = dir / "Anagrafica.pro";
  const std::vector<Text> empty(26);

  EXPECT_EQ(collect(ArchiveRows(clientGrid(), file, ArchiveAccess::ReadOnly)),
            (std::vector<std::vector<Text>>{empty, empty}));
  EXPECT_FALSE(fs::exists(file));

  EXPECT_EQ(collect(ArchiveRows(clientGrid(), file, ArchiveAccess::ForUpdate)).size(), 2u);
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(fs::file_size(file), 0u);

  // Something that is not a file cannot be read: an error, not an empty grid.
  EXPECT_THROW(collect(ArchiveRows(clientGrid(), dir.path(), ArchiveAccess::ReadOnly)), StoreError);
}

TEST(ExportGrids, ProgressReportsTheEndAndCancelStopsTheStream) {
  TempFolder dir;
  const fs::path file = dir / "Materiali.pro";
  test::appendRecords(file, productLayout(), std::vector<Record>(600, namedFields(productLayout())));

  std::vector<std::pair<size_t, size_t>> reports;
  Progress progress;
  progress.report = [&](size_t done, size_t total) { reports.emplace_back(done, total); };
  size_t visited = 0;
  streamArchiveRows(productGrid(), file, ArchiveAccess::ReadOnly,
                    [&](size_t, size_t, const std::vector<Text>&) { ++visited; }, progress);
  EXPECT_EQ(visited, 601u);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back(), std::make_pair(size_t{601}, size_t{601}));
  EXPECT_LT(reports.size(), 10u) << "reported every few hundred rows, not at each";

  std::atomic<bool> stop{false};
  progress.cancel = &stop;
  visited = 0;
  try {
    streamArchiveRows(productGrid(), file, ArchiveAccess::ReadOnly,
                      [&](size_t r, size_t, const std::vector<Text>&) {
                        ++visited;
                        if (r == 10) stop = true;
                      },
                      progress);
    FAIL() << "not cancelled";
  } catch (const Cancelled&) {
  }
  EXPECT_EQ(visited, 11u);
}

TEST(CardDocuments, ValuesComeFromTheirFieldsTrimmedAndHiddenFieldsStayOut) {
  const Layout& layout = clientLayout();
  Record client = namedFields(layout);
  client[layout.indexOf("Codice")] = "  C/7  ";
  const CardDocument doc = clientCardDocument(recordFields(layout, client));
  ASSERT_EQ(doc.rows.size(), 25u);
  EXPECT_FALSE(doc.spacer);
  EXPECT_EQ(doc.rows[0].second, "C/7");
  EXPECT_EQ(doc.fileName, "C/7");
  for (size_t i = 1; i < doc.rows.size(); ++i) EXPECT_EQ(doc.rows[i].second, layout.field(i).name);

  const Layout& items = supplyLayout();
  Record item = namedFields(items);
  item[supply::Prezzo] = "3,50";
  item[supply::Importo] = "";
  const CardDocument sheet = supplyCardDocument(" Rossi marzo ", recordFields(items, item));
  EXPECT_EQ(sheet.title, "Rossi marzo");
  ASSERT_EQ(sheet.rows.size(), 15u);
  EXPECT_EQ(sheet.rows[5].second, "\x80 3,50");
  EXPECT_EQ(sheet.rows[6].second, "\x80 ");
  EXPECT_EQ(sheet.rows[14].second, "Annotazioni");
  EXPECT_EQ(sheet.fileName, "Rossi marzo - Prodotto");

  const CardDocument product = productCardDocument(recordFields(productLayout(), namedFields(productLayout())));
  EXPECT_TRUE(product.spacer);
  ASSERT_EQ(product.rows.size(), 16u);
  EXPECT_EQ(product.rows[14].second, "Giacenza");
  EXPECT_EQ(product.rows[15].second, "Note");  // the threshold is left out
}

TEST(OfficeFiles, SafeNames) {
  EXPECT_EQ(safeFileName("A/12:x*?"), "A_12_x__");
  EXPECT_EQ(safeFileName(" ..nome.. "), "nome");
  EXPECT_EQ(safeFileName("  \t "), "Documento");
  EXPECT_EQ(safeFileName("Caff\xE8 \x80"), "Caff\xC3\xA8 \xE2\x82\xAC");
  const std::string longName = safeFileName(std::string(300, '\xE0'));
  EXPECT_LE(longName.size(), 150u);
  EXPECT_EQ(longName.size() % 2, 0u) << "no character cut in half";
}

TEST(OfficeFiles, NewFilesNeverReplaceOldOnesAndLeaveNothingElse) {
  TempFolder dir;
  const TableRows rows({{"", " Codice"}, {"1", "C1"}});
  const auto workbook = [&] {
    return writeGridWorkbook(rows, "Anagrafica clienti",
                             Destination::newFileIn(dir.path(), "Anagrafica clienti"));
  };
  EXPECT_EQ(workbook(), dir / "Anagrafica clienti.xlsx");
  EXPECT_EQ(workbook(), dir / "Anagrafica clienti (2).xlsx");
  EXPECT_EQ(writeGridDocument(rows, Destination::newFileIn(dir.path(), "Anagrafica clienti")),
            dir / "Anagrafica clienti.docx");
  EXPECT_EQ(filesIn(dir.path()), (std::set<std::string>{"Anagrafica clienti.xlsx",
                                                         "Anagrafica clienti (2).xlsx",
                                                         "Anagrafica clienti.docx"}));

  // A file asked for by name is refused when it exists, and left as it was.
  const fs::path mine = dir / "mine.docx";
  writeBytes(mine, {'m', 'e'});
  try {
    writeGridDocument(rows, Destination::exactly(mine));
    FAIL() << "replaced an existing file";
  } catch (const ExportError& e) {
    EXPECT_EQ(e.reason(), ExportError::Reason::Exists);
  }
  EXPECT_EQ(test::readBytes(mine), (std::vector<uint8_t>{'m', 'e'}));
  EXPECT_EQ(filesIn(dir.path()).size(), 4u);
}

TEST(OfficeFiles, FailuresAndCancelsLeaveNoFile) {
  TempFolder dir;
  const fs::path archive = dir / "Anagrafica.pro";
  test::appendRecords(archive, clientLayout(), std::vector<Record>(300, namedFields(clientLayout())));
  const ArchiveRows rows(clientGrid(), archive, ArchiveAccess::ReadOnly);
  const fs::path out = dir / "out";
  fs::create_directory(out);

  const auto reason = [](const auto& write) {
    try {
      write();
    } catch (const ExportError& e) {
      return e.reason();
    }
    ADD_FAILURE() << "no error";
    return ExportError::Reason::Failed;
  };

  const size_t filesBefore = openFiles();
  // Stopped after the first report, in the middle of the rows.
  std::atomic<bool> stop{false};
  Progress progress;
  progress.report = [&](size_t, size_t) { stop = true; };
  progress.cancel = &stop;
  EXPECT_THROW(writeGridWorkbook(rows, "S", Destination::newFileIn(out, "x"), progress), Cancelled);
  stop = false;
  EXPECT_THROW(writeGridDocument(rows, Destination::newFileIn(out, "x"), progress), Cancelled);
  EXPECT_TRUE(fs::is_empty(out));

  // A folder that cannot hold files (a regular file; rights do not stop root).
  EXPECT_EQ(reason([&] { writeGridWorkbook(rows, "S", Destination::newFileIn(archive, "x")); }),
            ExportError::Reason::Failed);
  EXPECT_EQ(reason([&] { writeCardDocument(CardDocument{}, Destination::exactly(dir / "no" / "x.docx")); }),
            ExportError::Reason::Failed);
  // A sheet name Excel refuses is a failure, not a crash.
  EXPECT_EQ(reason([&] { writeGridWorkbook(rows, "a/b", Destination::newFileIn(out, "x")); }),
            ExportError::Reason::Failed);
  EXPECT_TRUE(fs::is_empty(out));
  EXPECT_EQ(openFiles(), filesBefore) << "a given-up export keeps a file open";
}

int runExport(const std::vector<std::string>& args, std::string* err = nullptr) {
  std::vector<std::string> all{"export"};
  all.insert(all.end(), args.begin(), args.end());
  const test::CliResult r = test::runCli(all);
  if (err) *err = r.err;
  return r.code;
}

TEST(ExportCommand, UsageErrorsAndRefusals) {
  TempFolder dir;
  const std::string folder = dir.path().string();
  const std::string out = (dir / "x.xlsx").string();
  EXPECT_EQ(runExport({"clienti", "--folder", folder}), 2);                         // no output
  EXPECT_EQ(runExport({"clienti", "--xlsx", out, "--docx", out, "--folder", folder}), 2);
  EXPECT_EQ(runExport({"fornitori", "--xlsx", out, "--folder", folder}), 2);        // no such archive
  EXPECT_EQ(runExport({"clienti", "prodotti", "--xlsx", out, "--folder", folder}), 2);
  std::string err;
  EXPECT_EQ(runExport({"clienti", "--xlsx", out, "--folder", (dir / "none").string()}, &err), 1);
  EXPECT_NE(err.find("not a folder"), std::string::npos) << err;
  EXPECT_TRUE(fs::is_empty(dir.path()));

  // A supply file is told by its extension, in any case of letters; a
  // missing one is an empty grid and is not created.
  EXPECT_EQ(runExport({"Rossi.FOR", "--docx", (dir / "r.docx").string(), "--folder", folder}), 0);
  EXPECT_EQ(filesIn(dir.path()), std::set<std::string>{"r.docx"});
}

}  // namespace
}  // namespace zel
