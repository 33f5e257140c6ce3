#pragma once
// What the subcommands of zelvano-cli share: the usage error they throw, the
// option parser and the program folder they work on. Each subcommand lives in
// a file of its own and has one line in the command table of cli.cpp.
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store/layout.h"

namespace zel::cli {

inline constexpr const char* kProgram = "zelvano-cli";

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // an anomaly found, or a file unreadable
inline constexpr int kExitUsage = 2;

// Thrown by a subcommand for wrong arguments: run() prints the message with
// the usage text and exits with kExitUsage.
struct UsageError {
  std::string message;
};

// Arguments split into options with a value ("--name VALUE" or
// "--name=VALUE", in the order given) and the positional words. "--" ends
// the options. An option not named in `valueOptions` is a UsageError.
struct ParsedArgs {
  std::vector<std::pair<std::string, std::string>> options;  // names without "--"
  std::vector<std::string> positional;

  // The last value given for an option, if any.
  std::optional<std::string> value(const std::string& name) const;
};
ParsedArgs parseArgs(const std::vector<std::string>& args,
                     std::initializer_list<const char*> valueOptions);
// The same with option names known only at run time.
ParsedArgs parseArgs(const std::vector<std::string>& args,
                     const std::vector<std::string>& valueOptions);

// The folder of the running zelvano-cli: the program folder it was installed
// into, which is the default of every --folder option.
std::filesystem::path toolFolder();
// --folder DIR when given, else the tool's folder.
std::filesystem::path folderOption(const ParsedArgs& parsed);

// ---- commands that read archive files named on the command line ----

// "[--kind KIND] FILE..." as dump and verify take them.
struct FileArgs {
  std::optional<std::string> kind;  // --kind, when given
  std::vector<std::string> files;
};
FileArgs parseFileArgs(const std::vector<std::string>& args);
// The layout of a file: --kind, or else the file name (a UsageError when
// neither tells it).
const Layout& layoutFor(const std::string& file, const std::optional<std::string>& kind);

// ---- a save interrupted on an archive ----

// Before a command reads `archive`: a save interrupted there (a desk that
// crashed) may have left a journal beside it. It is applied as the windows
// apply it (settlePendingJournal, under the archive's exclusive lock) when
// this user may; otherwise the reason it stays pending is returned, and the
// archive is read as it stands. Nothing when there is no journal left.
std::optional<std::string> settleBeforeReading(const std::filesystem::path& archive, const Layout& layout);

// Runs `read` after settling the archive's journal. A journal left pending
// is told on `err` first, as a warning naming it, and makes the exit status
// kExitFailed whatever `read` returns.
int readSettled(const std::filesystem::path& archive, const Layout& layout, std::ostream& err,
                const std::function<int()>& read);

// A file name, or a message that holds one, as part of one line of UTF-8
// output: a name may carry any byte but '/' and NUL, and a line break in it
// must not split a report line, nor a stray byte garble the terminal.
// Control characters become \n, \r, \t or \xHH, bytes that are not UTF-8
// become \xHH, and a backslash is doubled so the escapes stay unambiguous.
std::string printable(std::string_view text);

}  // namespace zel::cli
