#include "cli/export_cmd.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/command.h"
#include "core/text.h"
#include "output/core/docx.h"
#include "output/core/grids.h"
#include "output/core/xlsx.h"
#include "store/archives.h"
#include "store/recordfile.h"

namespace zel::cli {
namespace {

namespace fs = std::filesystem;

const char kUsage[] =
    "  export clienti|prodotti|FILE.for (--xlsx OUT | --docx OUT) [--folder DIR]\n"
    "      Writes the archive as its export window shows it to a new Excel\n"
    "      workbook or Word document OUT: the clients (Anagrafica.pro), the\n"
    "      products and services (Materiali.pro) or the supply FILE.for, all\n"
    "      taken from DIR (default: the folder of zelvano-cli); a FILE.for given\n"
    "      with a folder part is taken from there. A missing archive gives an\n"
    "      empty grid; no archive is created. An existing OUT is never replaced.\n"
    "      Exit status 0 when written, 1 when OUT exists or cannot be written or\n"
    "      a journal could not be applied, 2 on a usage error.\n";

struct Source {
  const ExportGrid* grid;
  fs::path file;
};

bool endsWithFor(const std::string& name) {
  const std::string ext = kSupplyExtension;
  return name.size() > ext.size() &&
         lowerAscii(name.substr(name.size() - ext.size())) == lowerAscii(ext);
}

Source sourceOf(const std::string& archive, const fs::path& folder) {
  if (archive == "clienti") return {&clientGrid(), folder / kClientArchive};
  if (archive == "prodotti") return {&productGrid(), folder / kProductArchive};
  if (endsWithFor(archive)) {
    const fs::path given(archive);
    return {&supplyGrid(), given.has_parent_path() ? given : folder / given};
  }
  throw UsageError{"unknown archive '" + archive + "' (clienti, prodotti or a FILE.for)"};
}

int fail(std::ostream& err, const std::string& why) {
  err << kProgram << ": " << printable(why) << '\n';
  return kExitFailed;
}

}  // namespace

std::string exportUsageText() { return kUsage; }

int exportCommand(const std::vector<std::string>& args, std::istream&, std::ostream& out,
                  std::ostream& err) {
  const ParsedArgs parsed = parseArgs(args, {"xlsx", "docx", "folder"});
  if (parsed.positional.size() != 1)
    throw UsageError{"export takes one archive: clienti, prodotti or a FILE.for"};
  const auto xlsx = parsed.value("xlsx");
  const auto docx = parsed.value("docx");
  if (xlsx.has_value() == docx.has_value()) throw UsageError{"export needs either --xlsx OUT or --docx OUT"};
  const std::string output = xlsx ? *xlsx : *docx;
  if (output.empty()) throw UsageError{"the output file name is empty"};

  const fs::path folder = folderOption(parsed);
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return fail(err, "'" + folder.string() + "' is not a folder");
  const Source source = sourceOf(parsed.positional.front(), folder);
  // Checked first so that nothing is read in vain; the write itself refuses too.
  if (fs::exists(fs::symlink_status(output, ec)))
    return fail(err, "'" + output + "' already exists; nothing written");

  try {
    return readSettled(source.file, *source.grid->layout, err, [&] {
      const ArchiveRows rows(*source.grid, source.file, ArchiveAccess::ReadOnly);
      const Destination to = Destination::exactly(output);
      const fs::path written = xlsx ? writeGridWorkbook(rows, source.grid->sheetName, to)
                                    : writeGridDocument(rows, to);
      out << "Written " << printable(written.string()) << " from " << printable(source.file.string()) << '\n';
      return kExitOk;
    });
  } catch (const ExportError& e) {
    if (e.reason() == ExportError::Reason::Exists)
      return fail(err, "'" + output + "' already exists; nothing written");
    return fail(err, e.what());
  } catch (const StoreError& e) {
    return fail(err, source.file.string() + ": " + e.what());
  }
}

}  // namespace zel::cli
