#include "cli/import_cmd.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <system_error>

#include "cli/command.h"
#include "output/core/gridimport.h"
#include "store/archives.h"
#include "store/storeerror.h"

namespace zel::cli {
namespace {

namespace fs = std::filesystem;

const char kUsage[] =
    "  import clienti|prodotti FILE.csv [--folder DIR] [--dry-run] [--update]\n"
    "         [--separator X]\n"
    "      Adds the rows of a spreadsheet saved as CSV (UTF-8 or Windows-1252,\n"
    "      separator ';' or ',' as the header row shows, or X; 'tab' for a tab)\n"
    "      to the clients or the products of DIR. The header row names the\n"
    "      columns with the headings of the Excel export, in any order; the code\n"
    "      column is needed, a column without heading is skipped. Every row is\n"
    "      checked first; when one is refused nothing is written. A code already\n"
    "      in the archive is refused, or with --update overwrites the first\n"
    "      record holding it. --dry-run checks and writes nothing. Exit status 0\n"
    "      when every row was imported, 1 when any was refused, 2 on a usage\n"
    "      error.\n";

struct Flags {
  bool dryRun = false;
  bool update = false;
};

// The two options without a value, taken out before the others are parsed.
std::vector<std::string> takeFlags(const std::vector<std::string>& args, Flags& flags) {
  std::vector<std::string> rest;
  bool optionsEnded = false;
  for (const std::string& a : args) {
    if (!optionsEnded && a == "--dry-run") flags.dryRun = true;
    else if (!optionsEnded && a == "--update") flags.update = true;
    else rest.push_back(a);
    if (a == "--") optionsEnded = true;
  }
  return rest;
}

char separatorOption(const std::string& value) {
  if (value == "tab" || value == "\\t" || value == "\t") return '\t';
  if (value.size() != 1 || value[0] == '"' || value[0] == '\n' || value[0] == '\r' ||
      static_cast<unsigned char>(value[0]) >= 0x80)
    throw UsageError{"--separator takes one character (or 'tab'), not '" + value + "'"};
  return value[0];
}

bool readWhole(const fs::path& file, std::string& bytes, std::ostream& err) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) {
    err << kProgram << ": " << printable(file.string()) << ": not a readable file\n";
    return false;
  }
  std::ifstream in(file, std::ios::binary);
  bytes.resize(static_cast<size_t>(fs::file_size(file, ec)));
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  if (ec || in.bad() || !in.is_open()) {
    err << kProgram << ": " << printable(file.string()) << ": cannot be read\n";
    return false;
  }
  return true;
}

void printReport(const ImportReport& report, bool dryRun, std::ostream& out) {
  for (const RowRefusal& r : report.refused) out << "riga " << r.row << ": " << printable(r.reason) << '\n';
  const size_t valid = report.appended + report.updated;
  if (!report.refused.empty())
    out << "Archivio non modificato: nessuna riga si importa finché una è rifiutata (" << valid
        << " valide).\n";
  else if (dryRun)
    out << "Prova (--dry-run): archivio non modificato; " << report.appended << " schede da aggiungere, "
        << report.updated << " da aggiornare.\n";
  else if (report.updated > 0)
    out << report.appended << " schede aggiunte, " << report.updated << " aggiornate.\n";
  out << (report.refused.empty() ? valid : 0) << " righe importate, " << report.refused.size()
      << " rifiutate\n";
}

}  // namespace

std::string importUsageText() { return kUsage; }

int importCommand(const std::vector<std::string>& args, std::istream&, std::ostream& out, std::ostream& err) {
  Flags flags;
  const ParsedArgs parsed = parseArgs(takeFlags(args, flags), {"folder", "separator"});
  if (parsed.positional.size() != 2)
    throw UsageError{"import takes an archive (clienti or prodotti) and a FILE.csv"};
  const std::string& which = parsed.positional[0];
  if (which != "clienti" && which != "prodotti")
    throw UsageError{"unknown archive '" + which + "' (clienti or prodotti)"};
  ImportOptions options;
  options.dryRun = flags.dryRun;
  options.update = flags.update;
  if (const auto sep = parsed.value("separator")) options.separator = separatorOption(*sep);
  const fs::path folder = folderOption(parsed);

  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    err << kProgram << ": '" << printable(folder.string()) << "' is not a folder\n";
    return kExitFailed;
  }
  std::string bytes;
  if (!readWhole(parsed.positional[1], bytes, err)) return kExitFailed;

  const bool clients = which == "clienti";
  const CardArchive archive = clients ? clientArchive(folder) : productArchive(folder);
  try {
    const ImportReport report =
        importTable(clients ? clientGrid() : productGrid(), bytes, archive.file, archive.tempFile, options);
    printReport(report, options.dryRun, out);
    return report.refused.empty() ? kExitOk : kExitFailed;
  } catch (const ImportError& e) {
    out << printable(e.what()) << '\n' << "0 righe importate, 0 rifiutate\n";
    err << kProgram << ": " << printable(parsed.positional[1]) << ": the table cannot be imported\n";
    return kExitFailed;
  } catch (const StoreBusy& e) {
    err << kProgram << ": " << printable(e.what()) << "; nothing written\n";
    return kExitFailed;
  }
}

}  // namespace zel::cli
