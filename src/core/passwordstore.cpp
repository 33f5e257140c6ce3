#include "core/passwordstore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/crypt.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

// The store is a few lines; anything bigger is not a store.
constexpr off_t kMaxStoreBytes = 1 << 20;
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
#ifdef _WIN32
constexpr char kNewFileEol[] = "\r\n";
#else
constexpr char kNewFileEol[] = "\n";
#endif

[[noreturn]] void failErrno(const char* what, const fs::path& path) {
  throw PasswordStoreError(std::string(what) + " " + path.string() + ": " + std::strerror(errno));
}

// The whole file, or nothing when it does not exist.
std::optional<std::string> readWholeFile(const fs::path& path) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    failErrno("cannot open", path);
  }
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) failErrno("cannot inspect", path);
  if (!S_ISREG(st.st_mode)) throw PasswordStoreError("not a regular file: " + path.string());
  if (st.st_size > kMaxStoreBytes) throw PasswordStoreError("password store too large: " + path.string());
  std::string bytes;
  char buffer[8192];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      failErrno("cannot read", path);
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
    if (bytes.size() > static_cast<size_t>(kMaxStoreBytes))
      throw PasswordStoreError("password store too large: " + path.string());
  }
  return bytes;
}

void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);  // best effort: some file systems refuse it on folders
    ::close(fd);
  }
}

// Whether this process may write the file or folder. Root may write anything,
// but a store or a folder without any write bit was made read-only on
// purpose, and a change must fail there for root as it does for anyone else.
bool mayWrite(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  if (::geteuid() == 0) return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Writes the bytes to a private temporary file beside `target`, flushes it to
// the disk and renames it over `target`; on failure the temporary goes away
// and `target` is untouched. A store that is replaced hands on its owner, its
// group and the access its owner and group had (others get none).
void replaceAtomically(const fs::path& target, const std::string& bytes) {
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  std::string name = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(name.data());
  if (fd < 0) failErrno("cannot create a temporary file for", target);
  const fs::path temp = name;
  bool open = true;
  auto fail = [&](const char* what) {
    const int saved = errno;
    if (open) ::close(fd);
    ::unlink(temp.c_str());
    errno = saved;
    failErrno(what, target);
  };
  struct stat old {};
  mode_t mode = S_IRUSR | S_IWUSR;
  if (::stat(target.c_str(), &old) == 0) {
    mode |= old.st_mode & (S_IRGRP | S_IWGRP);
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
      fail("cannot keep the owner of");
  }
  if (::fchmod(fd, mode) != 0) fail("cannot protect the temporary file for");
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      fail("cannot write");
    }
    done += static_cast<size_t>(put);
  }
  if (::fsync(fd) != 0) fail("cannot flush");
  open = false;
  if (::close(fd) != 0) fail("cannot close");
  if (::rename(temp.c_str(), target.c_str()) != 0) fail("cannot replace");
  syncFolder(folder);
}

bool sameName(std::string_view a, std::string_view b) { return lowerAscii(a) == lowerAscii(b); }

// An INI text kept line by line, with each line's own end, so that writing one
// value gives back every other byte unchanged.
class IniText {
 public:
  explicit IniText(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")
      throw PasswordStoreError("password store in UTF-16, not supported");
    if (bytes.substr(0, 3) == kUtf8Bom) {
      bom_ = kUtf8Bom;
      bytes.remove_prefix(3);
    }
    const size_t firstBreak = bytes.find('\n');
    eol_ = firstBreak == std::string_view::npos ? kNewFileEol
           : (firstBreak > 0 && bytes[firstBreak - 1] == '\r') ? "\r\n"
                                                                : "\n";
    while (!bytes.empty()) {
      const size_t br = bytes.find('\n');
      if (br == std::string_view::npos) {
        lines_.push_back({std::string(bytes), ""});
        break;
      }
      const bool crlf = br > 0 && bytes[br - 1] == '\r';
      lines_.push_back({std::string(bytes.substr(0, crlf ? br - 1 : br)), crlf ? "\r\n" : "\n"});
      bytes.remove_prefix(br + 1);
    }
  }

  // The value, blanks and one pair of enclosing quotes removed.
  std::optional<std::string> value(std::string_view section, std::string_view key) const {
    const Place place = find(section, key);
    if (!place.keyLine) return std::nullopt;
    std::string v = trim(std::string_view(lines_[*place.keyLine].text).substr(place.valueStart));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
      v = v.substr(1, v.size() - 2);
    return v;
  }

  void setValue(std::string_view section, std::string_view key, std::string_view value) {
    const Place place = find(section, key);
    if (place.keyLine) {
      std::string& text = lines_[*place.keyLine].text;
      text = text.substr(0, place.valueStart) + std::string(value);
      return;
    }
    std::string keyLine = std::string(key) + "=" + std::string(value);
    if (place.sectionLine) {
      Line& after = lines_[place.lastLineOfSection];
      if (after.eol.empty()) after.eol = eol_;
      lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(place.lastLineOfSection + 1),
                    Line{std::move(keyLine), eol_});
      return;
    }
    if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = eol_;
    lines_.push_back({"[" + std::string(section) + "]", eol_});
    lines_.push_back({std::move(keyLine), eol_});
  }

  std::string bytes() const {
    std::string out = bom_;
    for (const Line& line : lines_) out += line.text + line.eol;
    return out;
  }

 private:
  struct Line {
    std::string text;
    std::string eol;  // "\r\n", "\n", or "" for a last line without an end
  };
  struct Place {
    std::optional<size_t> sectionLine;  // header of the first matching section
    size_t lastLineOfSection = 0;       // its header or its last key line
    std::optional<size_t> keyLine;      // first matching key in a matching section
    size_t valueStart = 0;              // where the value begins on that line
  };

  // Names match without regard to ASCII case, blanks around them ignored.
  // Comments (";" or "#") and lines without "=" are left alone.
  Place find(std::string_view section, std::string_view key) const {
    Place place;
    bool inMatching = false, inFirst = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
      const std::string& text = lines_[i].text;
      const Text stripped = trim(text);
      if (stripped.empty() || stripped[0] == ';' || stripped[0] == '#') continue;
      if (stripped[0] == '[') {
        const size_t close = stripped.find(']');
        const std::string_view name = std::string_view(stripped).substr(1, close == std::string::npos ? std::string::npos : close - 1);
        inMatching = sameName(trim(name), section);
        inFirst = inMatching && !place.sectionLine;
        if (inFirst) {
          place.sectionLine = i;
          place.lastLineOfSection = i;
        }
        continue;
      }
      const size_t eq = text.find('=');
      if (eq == std::string::npos || !inMatching) continue;
      if (inFirst) place.lastLineOfSection = i;
      if (!place.keyLine && sameName(trim(std::string_view(text).substr(0, eq)), key)) {
        place.keyLine = i;
        size_t start = eq + 1;
        while (start < text.size() && static_cast<unsigned char>(text[start]) <= 32) ++start;
        place.valueStart = start;
      }
    }
    return place;
  }

  std::string bom_;
  std::string eol_;  // the file's own line end, used for added lines
  std::vector<Line> lines_;
};

}  // namespace

fs::path passwordStorePath(const fs::path& programFolder) { return programFolder / kPasswordStoreFileName; }

Text readStoredPassword(const fs::path& storeFile) {
  const std::optional<std::string> bytes = readWholeFile(storeFile);
  if (!bytes) return {};
  const std::optional<std::string> value = IniText(*bytes).value(kPasswordSection, kPasswordKey);
  if (!value) return {};
  try {
    return trim(UnscrambleFromHex(*value));
  } catch (const CryptError& e) {
    throw PasswordStoreError("damaged password in " + storeFile.string() + ": " + e.what());
  }
}

void writeStoredPassword(const fs::path& storeFile, std::string_view plain) {
  const Text password = normalisePassword(plain);
  if (password.empty()) throw PasswordStoreError("refusing to store an empty password");
  if (password.size() > kMaxPasswordLength)
    throw PasswordStoreError("password longer than " + std::to_string(kMaxPasswordLength) + " characters");
  // A store reached through a link is replaced where it really lies.
  fs::path target = storeFile;
  std::error_code ec;
  if (fs::is_symlink(storeFile, ec)) {
    fs::path real = fs::canonical(storeFile, ec);
    if (!ec) target = std::move(real);
  }
  const std::optional<std::string> old = readWholeFile(target);
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  if ((old && !mayWrite(target)) || !mayWrite(folder))
    throw PasswordStoreError("password store is read-only: " + target.string());
  IniText ini(old ? *old : std::string());
  ini.setValue(kPasswordSection, kPasswordKey, ScrambleToHex(password));
  replaceAtomically(target, ini.bytes());
}

bool checkPassword(const fs::path& storeFile, std::string_view typed) {
  const Text stored = readStoredPassword(storeFile);
  return !stored.empty() && normalisePassword(typed) == stored;
}

PasswordChange changePassword(const fs::path& storeFile, std::string_view oldPassword,
                              std::string_view newPassword, std::string_view confirmation) {
  if (!checkPassword(storeFile, oldPassword)) return PasswordChange::WrongOldPassword;
  if (trim(newPassword) != trim(confirmation)) return PasswordChange::NotConfirmed;
  const Text normalised = normalisePassword(newPassword);
  if (normalised.empty() || normalised.size() > kMaxPasswordLength) return PasswordChange::InvalidNewPassword;
  writeStoredPassword(storeFile, normalised);
  return PasswordChange::Changed;
}

}  // namespace zel
