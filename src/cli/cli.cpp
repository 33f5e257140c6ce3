#include "cli/cli.h"

#include <exception>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>
#include <system_error>

#include "cli/check_cmd.h"
#include "cli/command.h"
#include "cli/export_cmd.h"
#include "cli/password_cmd.h"
#include "cli/search_cmd.h"
#include "core/text.h"
#include "store/archives.h"
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

const char kVerifyUsage[] =
    "  verify [--kind KIND] FILE...\n"
    "      Reports for each FILE its number of records and every anomaly: a\n"
    "      partial record at the end of the file (with its size in bytes) and a\n"
    "      length byte above its field's capacity (with record and field).\n";

const char kUsageTail[] =
    "  --help\n"
    "      Shows this text.\n"
    "\n"
    "KIND is clienti, prodotti or fornitura. Without --kind the file name tells\n"
    "it, in any case of letters: Anagrafica.pro holds clients, Materiali.pro\n"
    "products and services, a name ending in .for a supply. dump and verify\n"
    "only read their files; nothing is changed or created. password writes\n"
    "only the password store.\n"
    "\n"
    "Exit status of dump and verify:\n"
    "  0  done; verify found no anomaly\n"
    "  1  verify found an anomaly, or a file is missing or cannot be read (the\n"
    "     file is named in the report and the other files are still checked)\n"
    "  2  usage error: unknown command or option, no file, or a file whose kind\n"
    "     cannot be told from its name\n";

// ---- command-line parsing shared by the commands ----

struct FileArgs {
  std::optional<std::string> kind;  // --kind, when given
  std::vector<std::string> files;
};

FileArgs parseFileArgs(const std::vector<std::string>& args) {
  FileArgs parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.empty() || a[0] != '-') {
      parsed.files.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "--kind" || a.rfind("--kind=", 0) == 0) {
      std::string value;
      if (a == "--kind") {
        if (i + 1 >= args.size()) throw UsageError{"--kind needs a value"};
        value = args[++i];
      } else {
        value = a.substr(7);
      }
      if (value != "clienti" && value != "prodotti" && value != "fornitura")
        throw UsageError{"unknown kind '" + value + "' (clienti, prodotti or fornitura)"};
      parsed.kind = value;
    } else {
      throw UsageError{"unknown option '" + a + "'"};
    }
  }
  return parsed;
}

const Layout& layoutOfKind(const std::string& kind) {
  if (kind == "clienti") return clientLayout();
  if (kind == "prodotti") return productLayout();
  return supplyLayout();
}

// The layout of a file: --kind, or else the file name.
const Layout& layoutFor(const std::string& file, const std::optional<std::string>& kind) {
  if (kind) return layoutOfKind(*kind);
  const std::string name = lowerAscii(fs::path(file).filename().string());
  if (name == lowerAscii(kClientArchive)) return clientLayout();
  if (name == lowerAscii(kProductArchive)) return productLayout();
  const std::string ext = kSupplyExtension;
  if (name.size() > ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0)
    return supplyLayout();
  throw UsageError{"cannot tell the kind of '" + file + "' from its name; use --kind"};
}

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

  auto records = RecordFile::openReadOnly(file, layout);
  const size_t n = records.count();
  std::string line;
  records.scanRecords([&](size_t k, const Record& r) {
    line.clear();
    line += "{\"record\": ";
    line += std::to_string(k);
    for (size_t i = 0; i < layout.fieldCount(); ++i) {
      line += ", \"";
      line += layout.field(i).name;
      line += "\": ";
      appendJsonString(line, r[i]);
    }
    line += "}\n";
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
  });
  records.close();
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  if (!ec && size > n * layout.recordSize())
    err << kProgram << ": " << file << ": partial record of "
        << size - n * layout.recordSize() << " bytes at the end, not shown\n";
  return kExitOk;
}

// ---- verify ----

// Checks one file and writes its report; returns the number of anomalies.
size_t verifyFile(const std::string& file, const Layout& layout, std::ostream& out) {
  auto records = RecordFile::openReadOnly(file, layout);
  const size_t n = records.count();
  std::vector<std::string> anomalies;
  records.scan([&](size_t k, const uint8_t* bytes) {
    for (size_t i : oversizedFields(layout, bytes)) {
      anomalies.push_back("record " + std::to_string(k) + ", field " + layout.field(i).name +
                          ": length byte " + std::to_string(bytes[layout.offset(i)]) +
                          " above capacity " + std::to_string(layout.field(i).capacity));
    }
  });
  records.close();
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  if (ec) throw StoreError("cannot measure " + file + ": " + ec.message());
  const size_t whole = n * layout.recordSize();
  if (size > whole)
    anomalies.push_back("partial record of " + std::to_string(size - whole) +
                        " bytes at the end (not counted)");

  out << file << ": " << layout.name() << ", " << n << (n == 1 ? " record" : " records")
      << ", ";
  if (anomalies.empty()) out << "no anomalies\n";
  else out << anomalies.size() << (anomalies.size() == 1 ? " anomaly\n" : " anomalies\n");
  for (const std::string& a : anomalies) out << "  " << a << '\n';
  return anomalies.size();
}

int verify(const std::vector<std::string>& args, std::istream&, std::ostream& out,
           std::ostream&) {
  const FileArgs parsed = parseFileArgs(args);
  if (parsed.files.empty()) throw UsageError{"verify needs at least one file"};
  // Every kind is settled before any file is read.
  std::vector<const Layout*> layouts;
  for (const std::string& f : parsed.files) layouts.push_back(&layoutFor(f, parsed.kind));

  bool anyProblem = false;
  for (size_t i = 0; i < parsed.files.size(); ++i) {
    const std::string& file = parsed.files[i];
    try {
      if (verifyFile(file, *layouts[i], out) > 0) anyProblem = true;
    } catch (const StoreError& e) {
      out << file << ": cannot be read: " << e.what() << '\n';
      anyProblem = true;
    }
  }
  return anyProblem ? kExitFailed : kExitOk;
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
std::string verifyUsage() { return kVerifyUsage; }

// Each subcommand is one entry here; its paragraph joins the usage text.
const Command kCommands[] = {
    {"dump", dump, dumpUsage},
    {"verify", verify, verifyUsage},
    {"password", passwordCommand, passwordUsageText},
    {"check", checkCommand, checkUsageText},
    {"export", exportCommand, exportUsageText},
    {"search", searchCommand, searchUsageText},
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
        err << kProgram << ": " << e.what() << '\n';
        return kExitFailed;
      }
    }
    throw UsageError{"unknown command '" + args[0] + "'"};
  } catch (const UsageError& e) {
    err << kProgram << ": " << e.message << "\n\n" << usageText();
    return kExitUsage;
  } catch (const std::exception& e) {
    err << kProgram << ": " << e.what() << '\n';
    return kExitFailed;
  } catch (...) {
    err << kProgram << ": unexpected failure\n";
    return kExitFailed;
  }
}

}  // namespace zel::cli
