// A backup of the program folder (the clients, the products and one supply
// of the same number of records), set against `cp` of the same three files
// followed by their flush (`sync FILE...`); and an import of a spreadsheet's
// CSV of as many product rows into an empty folder.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "benchdata.h"
#include "output/core/gridimport.h"
#include "store/archives.h"
#include "store/backup.h"
#include "store/fields.h"

namespace zel::bench {
namespace {

namespace fs = std::filesystem;

fs::path scratch(const Archives& a, const char* name) {
  const fs::path p = a.folder().parent_path() / (a.folder().filename().string() + "-" + name);
  fs::remove_all(p);
  fs::create_directories(p);
  return p;
}

void backupFolder(benchmark::State& state, const Archives& a) {
  a.clients();
  a.products();
  a.supply();
  const fs::path dest = scratch(a, "backups");
  auto when = std::chrono::system_clock::now();
  for (auto _ : state) {
    const auto made = backup::makeBackup(a.folder(), dest, when);
    state.PauseTiming();
    if (!made.complete) state.SkipWithError("the backup is not complete");
    fs::remove_all(made.folder);
    when += std::chrono::seconds(1);
    state.ResumeTiming();
  }
  state.counters["MB"] = static_cast<double>(fs::file_size(a.clients()) + fs::file_size(a.products()) +
                                             fs::file_size(a.supply())) / 1e6;
  fs::remove_all(dest);
}

std::string quotedArg(const fs::path& p) { return "'" + p.string() + "'"; }

// The same three files with cp, each then flushed, as the shell would do it.
void copyAndFlush(benchmark::State& state, const Archives& a) {
  const fs::path dest = scratch(a, "cp");
  const std::string files = quotedArg(a.clients()) + " " + quotedArg(a.products()) + " " + quotedArg(a.supply());
  std::string copies;
  for (const fs::path& f : {a.clients(), a.products(), a.supply()}) copies += " " + quotedArg(dest / f.filename());
  const std::string command = "cp " + files + " " + quotedArg(dest) + " && sync" + copies;
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
    state.PauseTiming();
    for (const auto& e : fs::directory_iterator(dest)) fs::remove(e.path());
    state.ResumeTiming();
  }
  fs::remove_all(dest);
}

// A CSV as LibreOffice saves the export of the products: ';', every text in
// quotes, UTF-8.
std::string productsCsv(size_t rows) {
  const ExportGrid& grid = productGrid();
  std::string csv;
  auto cell = [&](const std::string& text) {
    csv += '"';
    for (const char c : cp1252ToUtf8(text)) {
      if (c == '"') csv += '"';
      csv += c;
    }
    csv += '"';
  };
  for (size_t c = 1; c < grid.columns.size(); ++c) {
    if (c > 1) csv += ';';
    cell(trim(grid.columns[c].heading));
  }
  csv += '\n';
  for (size_t i = 1; i <= rows; ++i) {
    Record r = product(i);
    r[product::Giacenza] = std::to_string(i % 500);
    for (size_t c = 1; c < grid.columns.size(); ++c) {
      if (c > 1) csv += ';';
      cell(r[static_cast<size_t>(grid.columns[c].field)]);
    }
    csv += '\n';
  }
  return csv;
}

void importProducts(benchmark::State& state, const Archives& a) {
  const std::string csv = productsCsv(a.records());
  const fs::path folder = scratch(a, "import");
  for (auto _ : state) {
    const auto report =
        importTable(productGrid(), csv, folder / kProductArchive, folder / kProductTemp, ImportOptions{});
    state.PauseTiming();
    if (!report.written || report.appended != a.records()) state.SkipWithError("not every row was imported");
    fs::remove(folder / kProductArchive);
    state.ResumeTiming();
  }
  state.counters["csv_MB"] = static_cast<double>(csv.size()) / 1e6;
  fs::remove_all(folder);
}

}  // namespace
}  // namespace zel::bench

int main(int argc, char** argv) {
  using namespace zel::bench;
  return runBenchmarks(argc, argv, [] {
    atEverySize("Backup/folder", backupFolder);
    atEverySize("Backup/cp-and-flush", copyAndFlush);
    atEverySize("Import/products-csv", importProducts);
  });
}
