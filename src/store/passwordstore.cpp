#include "store/passwordstore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/crypt.h"
#include "store/fileio.h"
#include "store/iohook.h"
#include "store/storeerror.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

// The store is a few lines; anything bigger is not a store.
constexpr uint64_t kMaxStoreBytes = 1 << 20;
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
#ifdef _WIN32
constexpr char kNewFileEol[] = "\r\n";
#else
constexpr char kNewFileEol[] = "\n";
#endif

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

// The whole content of an open store.
std::string readStore(int fd, const fs::path& path) {
  const uint64_t size = fileSize(fd, path);
  if (size > kMaxStoreBytes) throw PasswordStoreError("password store too large: " + path.string());
  std::string bytes(static_cast<size_t>(size), '\0');
  readAt(fd, 0, reinterpret_cast<uint8_t*>(bytes.data()), bytes.size(), path);
  return bytes;
}

// The whole file, or nothing when it does not exist. A link in the store's
// place is never followed: it would make any file the link names readable
// through the login, and writable through a change.
std::optional<std::string> readWholeFile(const fs::path& path) {
  FileHandle file;
  try {
    file = openRegular(path, O_RDONLY | O_NOFOLLOW);
  } catch (const StoreError& e) {
    if (e.systemError() == ENOENT || e.systemError() == ENOTDIR) return std::nullopt;
    throw;
  }
  return readStore(file.get(), path);
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

fs::path folderOf(const fs::path& file) { return file.parent_path().empty() ? fs::path(".") : file.parent_path(); }

// Temporary stores are the store's name behind a dot, a dot and six
// characters (mkstemp's); one that outlived its change was left by a crash.
std::string tempPrefix(const fs::path& target) { return "." + target.filename().string() + "."; }

void removeLeftoverTemps(const fs::path& target) {
  const std::string prefix = tempPrefix(target);
  std::error_code ec;
  for (fs::directory_iterator it(folderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0 &&
        it->is_regular_file(ec))
      ::unlink(it->path().c_str());  // best effort: a leftover is harmless
  }
}

// The store held for one change: open, locked against every other change,
// and known to be the file that the store's name names. A store that did not
// exist is created empty to be locked, and removed again if the change
// fails, so that a failed first password leaves no store behind.
class LockedStore {
 public:
  // Nothing when the store is missing and `create` is false.
  static std::unique_ptr<LockedStore> open(const fs::path& target, bool create, const StoreAccess& access) {
    const Deadline deadline = std::chrono::steady_clock::now() + access.lockWait;
    for (;;) {
      auto store = std::unique_ptr<LockedStore>(new LockedStore(target));
      switch (store->openFile(create)) {
        case Opened::Missing: return nullptr;
        case Opened::Raced: continue;
        case Opened::Yes: break;
      }
      if (!store->writable_) return store;  // nobody can change it: nothing to lock
      lockFile(store->file_.get(), Lock::Exclusive, target, deadline);
      ioStep(IoStep::Check);
      if (store->stillTheStore()) return store;
      // Another change replaced the store while this one waited: the lock
      // is on the old file; take the new one.
    }
  }

  ~LockedStore() {
    // A store created for this change goes again unless the change made it.
    if (file_ && created_ && !replaced_ && (!inspected_ || stillTheStore())) ::unlink(target_.c_str());
  }
  LockedStore(const LockedStore&) = delete;
  LockedStore& operator=(const LockedStore&) = delete;

  bool created() const { return created_; }
  std::string read() const { return created_ ? std::string() : readStore(file_.get(), target_); }

  // Writes the bytes to a temporary file beside the store, flushes it and
  // renames it over the store, then flushes the folder. Until the rename the
  // store is untouched; the temporary goes away on failure. The new store
  // keeps the old one's rights (a store this change created has the rights
  // the umask gave it): the password is scrambled, not secret, and every
  // desk must read it. It keeps the owner and group too, as far as this
  // user may give them (see keepOwnerAndGroup).
  void replace(const std::string& bytes) {
    if (!writable_) throw PasswordStoreError("password store is read-only: " + target_.string());
    removeLeftoverTemps(target_);
    std::string name = (folderOf(target_) / (tempPrefix(target_) + "XXXXXX")).string();
    ioStep(IoStep::Open);
    FileHandle temp(::mkostemp(name.data(), O_CLOEXEC));
    if (!temp) failCall("cannot create a temporary file for", target_, errno);
    const fs::path tempPath = name;
    try {
      keepOwnerAndGroup(temp.get(), tempPath);
      writeAt(temp.get(), 0, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), tempPath);
      syncData(temp.get(), tempPath);
      temp.close(tempPath);
      ioStep(IoStep::Rename);
      if (::rename(tempPath.c_str(), target_.c_str()) != 0) failCall("cannot replace", target_, errno);
    } catch (...) {
      ::unlink(tempPath.c_str());
      throw;
    }
    replaced_ = true;
    syncFolderOf(target_);
  }

 private:
  enum class Opened { Yes, Missing, Raced };

  explicit LockedStore(fs::path target) : target_(std::move(target)) {}

  Opened openFile(bool create) {
    const int flags = O_RDWR | O_NOFOLLOW;
    try {
      file_ = openRegular(target_, flags);
    } catch (const StoreError& e) {
      if (e.systemError() == EACCES || e.systemError() == EROFS) {
        // Read-only for this user: the old password can still be checked,
        // and the write will say why it cannot be done.
        file_ = openRegular(target_, O_RDONLY | O_NOFOLLOW);
        writable_ = false;
      } else if (e.systemError() == ENOENT && !create) {
        return Opened::Missing;
      } else if (e.systemError() == ENOENT) {
        // Rights as desktop programs create files: 0666 masked by the umask.
        try {
          file_ = openRegular(target_, flags | O_CREAT | O_EXCL, 0666);
        } catch (const StoreError& made) {
          if (made.systemError() == EEXIST) return Opened::Raced;  // another change made it first
          throw;
        }
        created_ = true;
      } else {
        throw;
      }
    }
    if (created_) giveToFolderOwner();
    if (::fstat(file_.get(), &owner_) != 0) failCall("cannot inspect", target_, errno);
    inspected_ = true;
    if (!created_) refuseForeignStore();
    return Opened::Yes;
  }

  // Root setting the first password of a user's folder leaves the store to
  // that user, who could not change the password otherwise.
  void giveToFolderOwner() {
    if (::geteuid() != 0) return;
    struct stat folder {};
    if (::stat(folderOf(target_).c_str(), &folder) != 0) failCall("cannot inspect the folder of", target_, errno);
    ioStep(IoStep::Chmod);
    if (::fchown(file_.get(), folder.st_uid, folder.st_gid) != 0)
      failCall("cannot give the folder's owner", target_, errno);
  }

  // The administrator gives the new file the old one's rights, owner and
  // group, and must manage it. Another user cannot give a file away: the new
  // store becomes theirs, with the old one's group when they belong to it
  // (the group of a folder shared by several users; on a setgid folder the
  // kernel has given it already), else with their own.
  void keepOwnerAndGroup(int fd, const fs::path& tempPath) {
    ioStep(IoStep::Chmod);
    struct stat mine {};
    if (::fstat(fd, &mine) != 0) failCall("cannot inspect", tempPath, errno);
    if (mine.st_uid != owner_.st_uid || mine.st_gid != owner_.st_gid) {
      if (::geteuid() == 0) {
        if (::fchown(fd, owner_.st_uid, owner_.st_gid) != 0) failCall("cannot keep the owner of", target_, errno);
      } else if (mine.st_gid != owner_.st_gid) {
        ::fchown(fd, static_cast<uid_t>(-1), owner_.st_gid);
      }
    }
    if (::fchmod(fd, owner_.st_mode & 0777) != 0) failCall("cannot set the rights of", tempPath, errno);
  }

  // Run by the administrator on a folder that belongs to someone else, a
  // change only rewrites a store of the folder's owner: a file another user
  // put there (to have the administrator's change write where it should not)
  // is left alone.
  void refuseForeignStore() {
    if (::geteuid() != 0) return;
    struct stat folder {};
    if (::stat(folderOf(target_).c_str(), &folder) != 0) failCall("cannot inspect the folder of", target_, errno);
    if (folder.st_uid != 0 && owner_.st_uid != folder.st_uid)
      throw PasswordStoreError("refusing the password store " + target_.string() +
                               ": it does not belong to the owner of its folder");
  }

  bool stillTheStore() const { return namesFile(target_, file_.get(), false); }

  fs::path target_;
  FileHandle file_;
  bool created_ = false;
  bool writable_ = true;
  bool replaced_ = false;
  bool inspected_ = false;
  struct stat owner_ {};  // the store's owner, group and mode when opened
};

Text storedPasswordIn(const std::string& bytes, const fs::path& storeFile) {
  const std::optional<std::string> value = IniText(bytes).value(kPasswordSection, kPasswordKey);
  if (!value) return {};
  try {
    return trim(UnscrambleFromHex(*value));
  } catch (const CryptError& e) {
    throw PasswordStoreError("damaged password in " + storeFile.string() + ": " + e.what());
  }
}

// Runs a reading or a change of the store: a failure of the file layer is a
// PasswordStoreError, a store kept locked too long a busy one.
template <class Work>
auto asStoreFailure(Work work) -> decltype(work()) {
  try {
    return work();
  } catch (const StoreBusy& e) {
    throw PasswordStoreError(std::string("password store busy (another change is under way): ") + e.what());
  } catch (const StoreError& e) {
    throw PasswordStoreError(e.what());
  }
}

}  // namespace

fs::path passwordStorePath(const fs::path& programFolder) { return programFolder / kPasswordStoreFileName; }

Text readStoredPassword(const fs::path& storeFile) {
  const std::optional<std::string> bytes = asStoreFailure([&] { return readWholeFile(storeFile); });
  return bytes ? storedPasswordIn(*bytes, storeFile) : Text();
}

bool isTypeablePassword(std::string_view normalised) {
  return !normalised.empty() && normalised.size() <= kMaxPasswordLength && !hasControlCharacter(normalised);
}

namespace {

void refuseUntypeable(const Text& password) {
  if (password.empty()) throw PasswordStoreError("refusing to store an empty password");
  if (password.size() > kMaxPasswordLength)
    throw PasswordStoreError("password longer than " + std::to_string(kMaxPasswordLength) + " characters");
  if (!isTypeablePassword(password)) throw PasswordStoreError("refusing a password with a control character");
}

// Stores the normalised password in the locked store, keeping its other bytes.
void storeIn(LockedStore& store, const fs::path& target, const std::string& oldBytes, const Text& password) {
  if (!mayWrite(folderOf(target)) || (!store.created() && !mayWrite(target)))
    throw PasswordStoreError("password store is read-only: " + target.string());
  IniText ini(oldBytes);
  ini.setValue(kPasswordSection, kPasswordKey, ScrambleToHex(password));
  store.replace(ini.bytes());
}

}  // namespace

void writeStoredPassword(const fs::path& storeFile, std::string_view plain, const StoreAccess& access) {
  const Text password = normalisePassword(plain);
  refuseUntypeable(password);
  const fs::path& target = storeFile;
  // Checked first, so that nothing is created in a folder kept read-only.
  if (!mayWrite(folderOf(target))) throw PasswordStoreError("password store is read-only: " + target.string());
  asStoreFailure([&] {
    const auto store = LockedStore::open(target, true, access);
    storeIn(*store, target, store->read(), password);
  });
}

bool checkPassword(const fs::path& storeFile, std::string_view typed) {
  const Text stored = readStoredPassword(storeFile);
  return !stored.empty() && normalisePassword(typed) == stored;
}

PasswordChange changePassword(const fs::path& storeFile, std::string_view oldPassword,
                              std::string_view newPassword, std::string_view confirmation,
                              const StoreAccess& access) {
  const fs::path& target = storeFile;
  return asStoreFailure([&] {
    const auto store = LockedStore::open(target, false, access);
    if (!store) return PasswordChange::WrongOldPassword;  // a missing store matches nothing
    const std::string old = store->read();
    const Text stored = storedPasswordIn(old, target);
    if (stored.empty() || normalisePassword(oldPassword) != stored) return PasswordChange::WrongOldPassword;
    if (trim(newPassword) != trim(confirmation)) return PasswordChange::NotConfirmed;
    const Text normalised = normalisePassword(newPassword);
    if (!isTypeablePassword(normalised)) return PasswordChange::InvalidNewPassword;
    storeIn(*store, target, old, normalised);
    return PasswordChange::Changed;
  });
}

}  // namespace zel
