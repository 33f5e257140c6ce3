#include "cli/command.h"

#include <stdexcept>
#include <system_error>

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

}  // namespace zel::cli
