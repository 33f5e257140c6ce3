#include "cli/password_cmd.h"

#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <exception>
#include <filesystem>
#include <iostream>
#include <istream>
#include <ostream>
#include <system_error>

#include "cli/command.h"
#include "core/crypt.h"
#include "store/passwordstore.h"
#include "core/text.h"

namespace zel::cli {
namespace {

namespace fs = std::filesystem;

// Anything longer than this is not a password; the rest of the line is
// skipped rather than kept in memory.
constexpr size_t kMaxLineBytes = 64 * 1024;

const char kUsage[] =
    "  password [FOLDER]\n"
    "      Sets the password of the program installed in FOLDER (default: the\n"
    "      folder of zelvano-cli). The new password is read from standard input:\n"
    "      asked twice without echo on a terminal, otherwise one line. Letters\n"
    "      a-z count as A-Z and blanks around it are dropped, as at login; 1 to\n"
    "      230 characters, all of them Windows-1252 and none a control character\n"
    "      (tab, CR, NUL...). Exit status 0 when stored, 1 when refused or not\n"
    "      stored, 2 on a usage error.\n";

struct Line {
  bool read = false;      // false at end of input with nothing read
  bool tooLong = false;
  std::string text;       // without the line end (LF or CR LF)
};

Line readLine(std::istream& in) {
  Line line;
  char ch;
  while (in.get(ch)) {
    line.read = true;
    if (ch == '\n') break;
    if (line.text.size() < kMaxLineBytes) line.text.push_back(ch);
    else line.tooLong = true;
  }
  if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
  return line;
}

// ---- a terminal without echo ----

termios savedTerminal{};
volatile std::sig_atomic_t echoIsOff = 0;

extern "C" void restoreAndReraise(int signal) {
  if (echoIsOff) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// Turns the terminal's echo off while it lives; an interruption (Ctrl-C)
// gives the echo back too.
class NoEcho {
 public:
  NoEcho() {
    if (::tcgetattr(STDIN_FILENO, &savedTerminal) != 0) return;
    termios quiet = savedTerminal;
    quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
    quiet.c_lflag |= ECHONL;
    previousInt_ = std::signal(SIGINT, restoreAndReraise);
    previousTerm_ = std::signal(SIGTERM, restoreAndReraise);
    previousHup_ = std::signal(SIGHUP, restoreAndReraise);
    echoIsOff = 1;
    if (::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) != 0) echoIsOff = 0;
    active_ = true;
  }
  ~NoEcho() {
    if (!active_) return;
    if (echoIsOff) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
    echoIsOff = 0;
    std::signal(SIGINT, previousInt_);
    std::signal(SIGTERM, previousTerm_);
    std::signal(SIGHUP, previousHup_);
  }
  NoEcho(const NoEcho&) = delete;
  NoEcho& operator=(const NoEcho&) = delete;

 private:
  bool active_ = false;
  void (*previousInt_)(int) = SIG_DFL;
  void (*previousTerm_)(int) = SIG_DFL;
  void (*previousHup_)(int) = SIG_DFL;
};

bool isTerminal(const std::istream& in) { return &in == &std::cin && ::isatty(STDIN_FILENO) == 1; }

int refuse(std::ostream& err, const std::string& why) {
  err << kProgram << ": " << printable(why) << '\n';
  return kExitFailed;
}

int usageError(std::ostream& err, const std::string& why) {
  err << kProgram << ": " << printable(why) << "\n\nUsage: zelvano-cli password [FOLDER]\n" << kUsage;
  return kExitUsage;
}

int setPassword(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
  std::vector<std::string> words;
  bool optionsEnded = false;
  for (const std::string& a : args) {
    if (!optionsEnded && a == "--") optionsEnded = true;
    else if (!optionsEnded && a.size() > 1 && a[0] == '-') return usageError(err, "unknown option '" + a + "'");
    else words.push_back(a);
  }
  if (words.size() > 1) return usageError(err, "password takes at most one folder");
  if (!words.empty() && words[0].empty()) return usageError(err, "the folder name is empty");

  const fs::path folder = words.empty() ? toolFolder() : fs::path(words[0]);
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return refuse(err, "'" + folder.string() + "' is not a folder");

  std::string typed;
  if (isTerminal(in)) {
    Line first, second;
    {
      NoEcho quiet;
      err << "Nuova password: " << std::flush;
      first = readLine(in);
      if (first.read && !first.tooLong) {
        err << "Conferma: " << std::flush;
        second = readLine(in);
      }
    }
    if (!first.read) return refuse(err, "no password read");
    if (first.tooLong) return refuse(err, "the password is longer than 230 characters");
    // As in the change window: blanks around do not count, letter case does.
    if (!second.read || trim(first.text) != trim(second.text))
      return refuse(err, "the two entries differ; nothing changed");
    typed = first.text;
  } else {
    const Line line = readLine(in);
    if (!line.read) return refuse(err, "no password read from standard input");
    if (line.tooLong) return refuse(err, "the password is longer than 230 characters");
    typed = line.text;
  }

  if (!fitsCp1252(typed))
    return refuse(err, "the password holds a character that is not valid UTF-8 or has no Windows-1252 form");
  // Not even around the password: a tab or a stray carriage return in a
  // script's line is more likely a mistake than meant.
  if (hasControlCharacter(utf8ToCp1252(typed)))
    return refuse(err, "the password holds a control character (a tab, a carriage return, NUL...), which the "
                       "login window cannot type; nothing changed");
  const Text password = normalisePassword(utf8ToCp1252(typed));
  if (password.empty()) return refuse(err, "the password is empty");
  if (password.size() > kMaxPasswordLength) return refuse(err, "the password is longer than 230 characters");

  const fs::path store = passwordStorePath(folder);
  try {
    writeStoredPassword(store, password);
  } catch (const std::exception& e) {
    return refuse(err, std::string("the password was not stored: ") + e.what());
  }
  out << "Password stored in " << printable(store.string()) << '\n';
  return kExitOk;
}

}  // namespace

std::string passwordUsageText() { return kUsage; }

int passwordCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                    std::ostream& err) {
  try {
    return setPassword(args, in, out, err);
  } catch (const std::exception& e) {
    return refuse(err, e.what());
  } catch (...) {
    return refuse(err, "unexpected failure");
  }
}

}  // namespace zel::cli
