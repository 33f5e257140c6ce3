#include "output/core/outputfile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "output/core/exporterror.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

// Room for " (9999).docx" and the temporary names within the 255 bytes of
// a file name.
constexpr size_t kMaxNameBytes = 150;
constexpr int kMaxNumberedNames = 9999;

[[noreturn]] void fail(const std::string& what, int error) {
  throw ExportError(ExportError::Reason::Failed, what + ": " + std::strerror(error));
}

// Gives `from` the name `to` unless `to` exists; false when it does.
bool moveNoReplace(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno == EEXIST) return false;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
    fail("cannot name the file " + to.string(), errno);

  // A file system that cannot rename without replacing: a hard link is just
  // as exclusive.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return true;
  }
  if (errno == EEXIST) return false;
  // No hard links either (a memory stick): claim the name with an empty file
  // created exclusively, then rename over our own claim.
  const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EEXIST) return false;
    fail("cannot create " + to.string(), errno);
  }
  ::close(fd);
  if (::rename(from.c_str(), to.c_str()) != 0) {
    const int error = errno;
    ::unlink(to.c_str());
    fail("cannot name the file " + to.string(), error);
  }
  return true;
}

void syncAndShare(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail("cannot reopen " + file.string(), errno);
  // Delayed write errors (a full disk) surface here rather than in the
  // user's office program.
  if (::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    fail("cannot write " + file.string(), error);
  }
  // Temporary files are private; the document gets the usual rights.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  ::close(fd);
}

}  // namespace

Destination Destination::newFileIn(fs::path folder, std::string_view name) {
  Destination d;
  d.folder_ = std::move(folder);
  d.base_ = safeFileName(name);
  return d;
}

Destination Destination::exactly(fs::path file) {
  Destination d;
  d.folder_ = file.has_parent_path() ? file.parent_path() : fs::path(".");
  d.base_ = file.filename().string();
  d.exact_ = std::move(file);
  return d;
}

std::string safeFileName(std::string_view name) {
  Text t;
  for (const char ch : trim(name)) {
    const char32_t cp = cp1252ToUnicode(static_cast<unsigned char>(ch));
    const bool control = cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
    t += control || std::strchr("\\/:*?\"<>|", ch) != nullptr ? '_' : ch;
  }
  std::string out;
  const size_t first = t.find_first_not_of(" .");
  for (size_t i = first == Text::npos ? t.size() : first; i < t.size(); ++i) {
    const std::string u = cp1252ToUtf8(std::string_view(&t[i], 1));
    if (out.size() + u.size() > kMaxNameBytes) break;
    out += u;
  }
  while (!out.empty() && (out.back() == ' ' || out.back() == '.')) out.pop_back();
  return out.empty() ? "Documento" : out;
}

PendingFile::PendingFile(Destination destination, std::string extension)
    : destination_(std::move(destination)), extension_(std::move(extension)) {
  std::string tmpl = (destination_.folder() / ".zelvano-export-XXXXXX").string();
  const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) fail("cannot create a file in " + destination_.folder().string(), errno);
  ::close(fd);
  temp_ = tmpl;
}

PendingFile::~PendingFile() {
  if (!published_) ::unlink(temp_.c_str());
}

fs::path PendingFile::publish() {
  syncAndShare(temp_);
  if (destination_.isExact()) {
    const fs::path& target = destination_.exactFile();
    if (!moveNoReplace(temp_, target))
      throw ExportError(ExportError::Reason::Exists, target.string() + " already exists");
    published_ = true;
    return target;
  }
  for (int i = 1; i <= kMaxNumberedNames; ++i) {
    std::string name = destination_.baseName();
    if (i > 1) name += " (" + std::to_string(i) + ")";
    const fs::path target = destination_.folder() / (name + extension_);
    if (moveNoReplace(temp_, target)) {
      published_ = true;
      return target;
    }
  }
  throw ExportError(ExportError::Reason::Failed,
                    "no free name for " + destination_.baseName() + extension_ + " in " +
                        destination_.folder().string());
}

}  // namespace zel
