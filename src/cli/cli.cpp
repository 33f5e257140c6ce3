#include "cli/cli.h"

#include <exception>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>
#include <system_error>

#include "cli/backup_cmd.h"
#include "cli/check_cmd.h"
#include "cli/command.h"
#include "cli/export_cmd.h"
#include "cli/import_cmd.h"
#include "cli/password_cmd.h"
#include "cli/search_cmd.h"
#include "cli/verify_cmd.h"
#include "core/text.h"
#include "store/archives.h"
#include "store/archivescan.h"
#include "store/layout.h"
#include "store/recordfile.h"

namespace zel::cli {
namespace {

namespace fs = std::filesystem;

const char kUsageHead[] =
    "Usage: zelvano-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n";

const char kDumpUsage[] =
    "  dump [--kind KIND] FILE\n"
    "      Prints every record of FILE as one JSON object per line, in UTF-8:\n"
    "      {\"record\": k, \"Codice\": \"...\", ...} with the record's field names in\n"
    "      file order and each text trimmed as a card shows it.\n";

const char kUsageTail[] =
    "  --help\n"
    "      Shows this text.\n"
    "\n"
    "KIND is clienti, prodotti or fornitura. Without --kind the file name tells\n"
    "it, in any case of letters: Anagrafica.pro holds clients, Materiali.pro\n"
    "products and services, a name ending in .for a supply. dump and verify\n"
    "only read their files; nothing is created. password writes only the\n"
    "password store; import, backup and restore write what their paragraphs\n"
    "above say.\n"
    "\n"
    "A save cut short by a crash leaves a journal beside its archive\n"
    "(Anagrafica.pro.jrn, NAME.for.jrn). dump, verify, search and export first\n"
    "put back the record it holds, as the program does, when the folder lets\n"
    "them; otherwise they read the archive as it stands and report the journal:\n"
    "verify as an anomaly, the others with a warning and exit status 1.\n"
    "\n"
    "Exit status of dump and verify:\n"
    "  0  done; verify found no anomaly\n"
    "  1  verify found an anomaly, or a file is missing or cannot be read (the\n"
    "     file is named in the report and the other files are still checked),\n"
    "     or a journal could not be applied\n"
    "  2  usage error: unknown command or option, no file, or a file whose kind\n"
    "     cannot be told from its name\n";

// ---- output ----

void appendJsonString(std::string& out, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    const char32_t cp = cp1252ToUnicode(b);
    if (cp == '"' || cp == '\\') {
      out += '\\';
      out += ch;
    } else if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) {
      out += "\\u00";
      out += kHex[cp >> 4];
      out += kHex[cp & 0xF];
    } else if (b < 0x80) {
      out += ch;
    } else {
      out += cp1252ToUtf8(std::string_view(&ch, 1));
    }
  }
  out += '"';
}

// ---- dump ----

int dump(const std::vector<std::string>& args, std::istream&, std::ostream& out,
         std::ostream& err) {
  const FileArgs parsed = parseFileArgs(args);
  if (parsed.files.size() != 1) throw UsageError{"dump takes exactly one file"};
  const std::string& file = parsed.files.front();
  const Layout& layout = layoutFor(file, parsed.kind);

  return readSettled(file, layout, err, [&] {
    // One record is decoded over and over, its strings keeping their storage.
    Record record;
    std::string line;
    const ArchiveScan scan = scanArchive(file, layout, {}, [&](size_t k, const uint8_t* bytes) {
      decodeRecordInto(layout, bytes, record);
      line.clear();
      line += "{\"record\": ";
      line += std::to_string(k);
      for (size_t i = 0; i < layout.fieldCount(); ++i) {
        line += ", \"";
        line += layout.field(i).name;
        line += "\": ";
        appendJsonString(line, record[i]);
      }
      line += "}\n";
      out.write(line.data(), static_cast<std::streamsize>(line.size()));
    });
    if (scan.partialBytes > 0)
      err << kProgram << ": " << printable(file) << ": partial record of " << scan.partialBytes
          << " bytes at the end, not shown\n";
    return kExitOk;
  });
}

// ---- the command table ----

using Handler = int (*)(const std::vector<std::string>&, std::istream&, std::ostream&,
                        std::ostream&);

struct Command {
  const char* name;
  Handler handler;         // gets the arguments after the command's name
  std::string (*usage)();  // the command's paragraph of the usage text
};

std::string dumpUsage() { return kDumpUsage; }

// Each subcommand is one entry here; its paragraph joins the usage text.
const Command kCommands[] = {
    {"dump", dump, dumpUsage},
    {"verify", verifyCommand, verifyUsageText},
    {"password", passwordCommand, passwordUsageText},
    {"check", checkCommand, checkUsageText},
    {"export", exportCommand, exportUsageText},
    {"search", searchCommand, searchUsageText},
    {"import", importCommand, importUsageText},
    {"backup", backupCommand, backupUsageText},
    {"restore", restoreCommand, restoreUsageText},
};

}  // namespace

std::string usageText() {
  std::string text = kUsageHead;
  for (const Command& c : kCommands) text += c.usage();
  return text + kUsageTail;
}

std::string jsonString(std::string_view text) {
  std::string out;
  appendJsonString(out, text);
  return out;
}

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
  try {
    if (args.empty()) {
      err << usageText();
      return kExitUsage;
    }
    for (const std::string& a : args) {
      if (a == "--help" || a == "-h") {
        out << usageText();
        return kExitOk;
      }
      if (a == "--") break;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const Command& c : kCommands) {
      if (args[0] != c.name) continue;
      try {
        const int code = c.handler(rest, in, out, err);
        out.flush();
        if (!out) {
          err << kProgram << ": cannot write the output\n";
          return kExitFailed;
        }
        return code;
      } catch (const StoreError& e) {
        out.flush();
        err << kProgram << ": " << printable(e.what()) << '\n';
        return kExitFailed;
      }
    }
    throw UsageError{"unknown command '" + args[0] + "'"};
  } catch (const UsageError& e) {
    err << kProgram << ": " << printable(e.message) << "\n\n" << usageText();
    return kExitUsage;
  } catch (const std::exception& e) {
    err << kProgram << ": " << printable(e.what()) << '\n';
    return kExitFailed;
  } catch (...) {
    err << kProgram << ": unexpected failure\n";
    return kExitFailed;
  }
}

}  // namespace zel::cli
