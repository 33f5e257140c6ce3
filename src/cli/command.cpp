#include "cli/command.h"


#include <ostream>
#include <stdexcept>
#include <system_error>

#include "core/text.h"
#include "store/archives.h"
#include "store/recordfile.h"
#include "store/storeerror.h"

namespace zel::cli {

namespace fs = std::filesystem;

std::optional<std::string> ParsedArgs::value(const std::string& name) const {
  std::optional<std::string> found;
  for (const auto& [option, v] : options)
    if (option == name) found = v;
  return found;
}

ParsedArgs parseArgs(const std::vector<std::string>& args,
                     std::initializer_list<const char*> valueOptions) {
  return parseArgs(args, std::vector<std::string>(valueOptions.begin(), valueOptions.end()));
}

ParsedArgs parseArgs(const std::vector<std::string>& args,
                     const std::vector<std::string>& valueOptions) {
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.size() < 2 || a[0] != '-') {
      parsed.positional.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    if (a.rfind("--", 0) != 0) throw UsageError{"unknown option '" + a + "'"};
    const size_t eq = a.find('=');
    const std::string name = a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
    bool known = false;
    for (const std::string& v : valueOptions) known = known || name == v;
    if (!known) throw UsageError{"unknown option '--" + name + "'"};
    if (eq != std::string::npos) {
      parsed.options.emplace_back(name, a.substr(eq + 1));
    } else {
      if (i + 1 >= args.size()) throw UsageError{"--" + name + " needs a value"};
      parsed.options.emplace_back(name, args[++i]);
    }
  }
  return parsed;
}

fs::path toolFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) throw std::runtime_error(std::string("cannot find the folder of ") + kProgram + ": " + ec.message());
  return exe.parent_path();
}

fs::path folderOption(const ParsedArgs& parsed) {
  const std::optional<std::string> folder = parsed.value("folder");
  if (!folder) return toolFolder();
  if (folder->empty()) throw UsageError{"the folder name is empty"};
  return fs::path(*folder);
}

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

std::optional<std::string> settleBeforeReading(const fs::path& archive, const Layout& layout) {
  try {
    settlePendingJournal(archive, layout);
    return std::nullopt;
  } catch (const StoreError& e) {
    // Refused, busy or failed on the way: in each case the journal is there.
    return std::string(e.what());
  }
}

int readSettled(const fs::path& archive, const Layout& layout, std::ostream& err,
                const std::function<int()>& read) {
  const std::optional<std::string> pending = settleBeforeReading(archive, layout);
  if (pending)
    err << kProgram << ": warning: " << printable(archive.string())
        << ": a save interrupted there was not undone, its records are read as they stand: "
        << printable(*pending) << '\n';
  const int code = read();
  return pending ? kExitFailed : code;
}

namespace {

const Layout& layoutOfKind(const std::string& kind) {
  if (kind == "clienti") return clientLayout();
  if (kind == "prodotti") return productLayout();
  return supplyLayout();
}

// The length of the UTF-8 sequence at the start of `s`, or 0 when it is not
// a well-formed one (overlong forms and surrogates included).
size_t utf8SequenceLength(std::string_view s) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(0);
  size_t length;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i)
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  return length;
}

}  // namespace

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

std::string printable(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  auto escapeByte = [&](unsigned char b) {
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 0xF];
  };
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == '\\') {
      out += "\\\\";
    } else if (b == '\n') {
      out += "\\n";
    } else if (b == '\r') {
      out += "\\r";
    } else if (b == '\t') {
      out += "\\t";
    } else if (b < 0x20 || b == 0x7F) {
      escapeByte(b);
    } else if (b >= 0x80) {
      const size_t n = utf8SequenceLength(text.substr(i));
      // U+0080..U+009F are C1 controls: a terminal obeys some of them.
      const bool c1 = n == 2 && b == 0xC2 && static_cast<unsigned char>(text[i + 1]) <= 0x9F;
      if (n == 0 || c1) {
        escapeByte(b);
      } else {
        out.append(text.substr(i, n));
        i += n;
        continue;
      }
    } else {
      out += static_cast<char>(b);
    }
    ++i;
  }
  return out;
}

}  // namespace zel::cli
