#include "store/supplyfiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/text.h"
#include "store/fileio.h"
#include "store/iohook.h"
#include "store/storeerror.h"

namespace zel::supplyfiles {
namespace fs = std::filesystem;

namespace {

// A new supply file is created as desktop programs create files: read and
// write for everyone, masked by the user's umask, with the folder's group on
// a setgid folder, so that the other users of a shared folder can open it.
constexpr mode_t kNewFileMode = 0666;

// A byte that is not part of well-formed UTF-8 decodes to a value above the
// Unicode range, so that distinct bytes stay distinct in comparisons.
constexpr char32_t kRawByteBase = 0x110000;

// Decodes the code point at s[i] and advances i past it.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = byte(i);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  std::size_t len = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  }
  if (len == 0 || i + len > s.size()) {
    ++i;
    return kRawByteBase + b0;
  }
  for (std::size_t k = 1; k < len; ++k) {
    const unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return kRawByteBase + b0;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return kRawByteBase + b0;
  }
  i += len;
  return cp;
}

// Lower case of the letters that Windows-1252 holds in both cases.
char32_t foldCase(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;  // À..Þ except ×
  switch (c) {
    case 0x152: return 0x153;  // Œ
    case 0x160: return 0x161;  // Š
    case 0x17D: return 0x17E;  // Ž
    case 0x178: return 0xFF;   // Ÿ
    default: return c;
  }
}

// A lower-case letter without its accent, for the list order.
char32_t baseLetter(char32_t c) {
  c = foldCase(c);
  if (c < 0xDF) return c;
  if (c >= 0xE0 && c <= 0xE6) return U'a';
  if (c == 0xE7) return U'c';
  if (c >= 0xE8 && c <= 0xEB) return U'e';
  if (c >= 0xEC && c <= 0xEF) return U'i';
  if (c == 0xF1) return U'n';
  if ((c >= 0xF2 && c <= 0xF6) || c == 0xF8 || c == 0x153) return U'o';
  if (c >= 0xF9 && c <= 0xFC) return U'u';
  if (c == 0xFD || c == 0xFF) return U'y';
  if (c == 0x161) return U's';
  if (c == 0x17E) return U'z';
  return c;
}

template <typename Map>
std::u32string keyOf(std::string_view s, Map map) {
  std::u32string key;
  key.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) key.push_back(map(nextCodePoint(s, i)));
  return key;
}

bool hasSupplyExtension(std::string_view fileName) {
  if (fileName.size() < kExtension.size()) return false;
  return lowerAscii(fileName.substr(fileName.size() - kExtension.size())) == kExtension;
}

std::string systemReason(const std::error_code& ec) { return ec.message(); }

[[noreturn]] void failListing(const fs::path& folder, const std::error_code& ec) {
  throw SupplyFileError("Attenzione: impossibile leggere l'elenco delle forniture nella cartella " +
                        folder.string() + ".\r\n\r\nErrore di sistema: " + systemReason(ec));
}

// Whether the folder holds an entry of this name, letter case aside.
bool nameInUse(const fs::path& folder, const std::string& fileName) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(folder / fileName, ec))) return true;
  fs::directory_iterator it(folder, ec);
  if (ec) failListing(folder, ec);
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    if (sameNameIgnoringCase(it->path().filename().string(), fileName)) return true;
  }
  if (ec) failListing(folder, ec);
  return false;
}

[[noreturn]] void failCreation(const std::string& fileName, const std::string& reason) {
  throw SupplyFileError("Attenzione: impossibile creare il file della fornitura \"" + fileName +
                        "\".\r\n\r\nErrore di sistema: " + reason);
}

// The new file lasts (its name included) once the user is told it exists.
// It is locked meanwhile: another instance that already lists it waits, and
// a failure removes it before anyone used it.
void finishCreation(FileHandle file, const fs::path& path, const std::string& fileName) {
  try {
    lockFile(file.get(), Lock::Exclusive, path, lockDeadline());
    ioStep(IoStep::Sync);
    if (::fsync(file.get()) != 0) throw StoreError(describeFailure("cannot flush", path, errno));
    syncFolderOf(path);
  } catch (const StoreError& e) {
    ::unlink(path.c_str());
    failCreation(fileName, e.what());
  }
  try {
    file.close(path);
  } catch (const StoreError& e) {
    // Nothing was written: the empty file is complete, and stays.
    failCreation(fileName, e.what());
  }
}

}  // namespace

bool isForbiddenNameChar(char32_t c) {
  switch (c) {
    case U'\\': case U'/': case U':': case U'*': case U'?':
    case U'"': case U'<': case U'>': case U'|':
      return true;
    default:
      return false;
  }
}

std::string replaceForbidden(std::string_view text) {
  std::string out(text);
  // Every character concerned is ASCII, and ASCII bytes never occur inside
  // the multi-byte sequences of UTF-8: a byte-wise pass is exact.
  for (char& ch : out) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 32 || b == 127 || isForbiddenNameChar(b)) ch = ' ';
  }
  return out;
}

CreateResult createSupply(const fs::path& folder, std::string_view rawName) {
  CreateResult r;
  r.boxText = std::string(rawName);
  if (trim(rawName).empty()) return r;

  r.boxText = replaceForbidden(rawName);
  r.name = trim(r.boxText);
  // A name made only of forbidden characters leaves nothing to name a file.
  if (r.name.empty()) return r;

  const std::string fileName = r.name + std::string(kExtension);
  r.path = folder / fileName;
  if (fileName.size() > kMaxFileNameBytes) {
    r.outcome = CreateOutcome::NameTooLong;
    return r;
  }
  if (nameInUse(folder, fileName)) {
    r.outcome = CreateOutcome::NameInUse;
    return r;
  }

  try {
    ioStep(IoStep::Open);
  } catch (const StoreError& e) {
    failCreation(fileName, e.what());
  }
  int fd;
  do {
    fd = ::open(r.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kNewFileMode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    const int err = errno;
    if (err == EEXIST) {
      r.outcome = CreateOutcome::NameInUse;
      return r;
    }
    if (err == ENAMETOOLONG) {
      r.outcome = CreateOutcome::NameTooLong;
      return r;
    }
    failCreation(fileName, std::strerror(err));
  }
  finishCreation(FileHandle(fd), r.path, fileName);
  r.outcome = CreateOutcome::Created;
  return r;
}

std::vector<std::string> listSupplies(const fs::path& folder) {
  std::vector<std::string> entries;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) failListing(folder, ec);
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (!hasSupplyExtension(name)) continue;
    std::error_code statError;
    if (!it->is_regular_file(statError)) continue;  // folders, broken links
    entries.push_back(std::move(name));
  }
  if (ec) failListing(folder, ec);
  std::sort(entries.begin(), entries.end(),
            [](const std::string& a, const std::string& b) { return listsBefore(a, b); });
  return entries;
}

std::string countLine(std::size_t count) {
  return "Ci sono " + std::to_string(count) + " forniture.";
}

fs::path supplyPath(const fs::path& folder, const std::string& entry) { return folder / entry; }

std::string supplyName(const std::string& entry) {
  return entry.size() < kExtension.size() ? std::string() : entry.substr(0, entry.size() - kExtension.size());
}

bool deleteSupply(const fs::path& folder, const std::string& entry) {
  if (!hasSupplyExtension(entry) || entry.find('/') != std::string::npos ||
      entry.find('\0') != std::string::npos)
    return false;
  const fs::path path = supplyPath(folder, entry);
  // The exclusive lock waits for another instance's save or deletion in this
  // supply to end, so no write lands in a file already removed. What cannot
  // be opened as a record file (a link to nothing, a FIFO, a file without
  // write rights) is removed without it.
  FileHandle locked;
  try {
    locked = openLocked(path, O_RDWR, Lock::Exclusive);
  } catch (const StoreBusy&) {
    throw;
  } catch (const StoreError&) {
  }
  // unlink never removes a folder, whatever its name.
  ioStep(IoStep::Remove);
  if (::unlink(path.c_str()) != 0) return false;
  syncFolderOf(path);
  return true;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
  return keyOf(a, foldCase) == keyOf(b, foldCase);
}

bool listsBefore(std::string_view a, std::string_view b) {
  const std::u32string baseA = keyOf(a, baseLetter), baseB = keyOf(b, baseLetter);
  if (baseA != baseB) return baseA < baseB;
  const std::u32string foldA = keyOf(a, foldCase), foldB = keyOf(b, foldCase);
  if (foldA != foldB) return foldA < foldB;
  return a < b;
}

bool isValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();)
    if (nextCodePoint(s, i) >= kRawByteBase) return false;
  return true;
}

}  // namespace zel::supplyfiles
