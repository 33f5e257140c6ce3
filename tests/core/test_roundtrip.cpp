// An archive exported to Excel by zelvano-cli, saved as CSV by LibreOffice
// with the Italian options (';' between cells, '"' around texts, UTF-8), and
// imported into an empty folder, comes back record for record: the dumps of
// the two archives are equal. Skipped where LibreOffice is not installed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <string>

#include "store/archives.h"
#include "store/fields.h"
#include "store/recordfile.h"
#include "support/childprocess.h"
#include "support/clirun.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::runCli;
using test::TempFolder;

constexpr const char* kOffice = "/usr/bin/soffice";

// Converts `xlsx` into `outdir`, with a profile folder of this test's own;
// false when LibreOffice did not finish within its deadline.
bool convertToCsv(const fs::path& xlsx, const fs::path& outdir, const fs::path& profile) {
  test::ChildProcess office({kOffice, "--headless", "-env:UserInstallation=file://" + profile.string(),
                             "--convert-to", "csv:Text - txt - csv (StarCalc):59,34,76,1", "--outdir",
                             outdir.string(), xlsx.string()});
  // It prints a line and ends; a conversion that hangs is killed with the
  // process when its deadline has passed.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  std::string line;
  while (office.readLine(line, std::chrono::seconds(120))) {
  }
  if (std::chrono::steady_clock::now() >= deadline) return false;
  return office.wait() == 0 && fs::exists(outdir / (xlsx.stem().string() + ".csv"));
}

void roundTrip(const char* kind, const fs::path& archive, const Layout& layout,
               const std::vector<Record>& records) {
  if (::access(kOffice, X_OK) != 0) GTEST_SKIP() << "LibreOffice is not installed";
  TempFolder dir;
  const fs::path from = dir / "da", to = dir / "a";
  fs::create_directories(from);
  fs::create_directories(to);
  {
    auto f = RecordFile::openForUpdate(from / archive, layout);
    for (const Record& r : records) f.append(r);
  }
  const fs::path xlsx = dir / "export.xlsx";
  auto r = runCli({"export", kind, "--xlsx", xlsx.string(), "--folder", from.string()});
  ASSERT_EQ(r.code, 0) << r.err;
  ASSERT_TRUE(convertToCsv(xlsx, dir.path(), dir / "profile"));
  r = runCli({"import", kind, (dir / "export.csv").string(), "--folder", to.string()});
  ASSERT_EQ(r.code, 0) << r.out << r.err;
  EXPECT_NE(r.out.find(std::to_string(records.size()) + " righe importate, 0 rifiutate"), std::string::npos) << r.out;

  const auto original = runCli({"dump", (from / archive).string()});
  const auto imported = runCli({"dump", (to / archive).string()});
  ASSERT_EQ(original.code, 0);
  EXPECT_EQ(imported.out, original.out);
}

TEST(RoundTrip, ClientsThroughLibreOffice) {
  const Layout& layout = clientLayout();
  Record a = emptyRecord(layout);
  a[client::Codice] = "007";
  a[client::Persona] = "Caff\xE8 \"Il Moro\"; s.n.c.";
  a[client::Citta] = "20100, Milano (MI)";
  a[client::Iva] = "01234567890";  // the leading zero stays: the export writes text
  a[client::RilDoc] = "01/02/2024";
  a[client::Carta] = "4111111111111111";
  a[client::Pagamento] = "=SOMMA(1;2) \x80 30 giorni";
  a[client::Note] = "prima riga\r\nseconda riga";
  a[client::Email] = std::string(120, 'e');  // a field full to its capacity
  Record b = emptyRecord(layout);
  b[client::Codice] = "007";  // codes repeat in an archive, and in its import
  b[client::Persona] = "Rossi";
  roundTrip("clienti", kClientArchive, layout, {a, b});
}

TEST(RoundTrip, ProductsThroughLibreOffice) {
  const Layout& layout = productLayout();
  Record a = emptyRecord(layout);
  a[product::Codice] = "A-001";
  a[product::Descrizione] = "Vite \"M3\"; 10 pezzi, acciaio";
  a[product::Data] = "1E3";
  a[product::Costo] = "12,5";
  a[product::Prezzo] = "12,50";
  a[product::Giacenza] = "7";
  a[product::Sottoscorta] = "0";  // not exported: the import's normalisation gives it back as 0
  a[product::Note] = "nota \xE8";
  Record b = emptyRecord(layout);
  b[product::Codice] = "B";
  b[product::Prezzo] = "3,125";
  b[product::Giacenza] = "30000000";
  b[product::Sottoscorta] = "0";
  roundTrip("prodotti", kProductArchive, layout, {a, b});
}

}  // namespace
}  // namespace zel
