#include "store/journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "store/fileio.h"
#include "store/iohook.h"
#include "store/storeerror.h"

namespace zel::journal {
namespace {

constexpr char kMagic[8] = {'Z', 'E', 'L', 'J', 'R', 'N', '1', '\n'};
constexpr size_t kHeader = sizeof kMagic + 3 * 8;  // magic, offset, old size, length
constexpr size_t kLargest = 1 << 20;               // far above any record

void putU64(std::vector<uint8_t>& out, uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint64_t getU64(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// FNV-1a: enough to tell a journal cut short from a complete one.
uint64_t checksum(const uint8_t* p, size_t n) {
  uint64_t h = 14695981039346656037ull;
  for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

std::vector<uint8_t> encode(const Entry& e) {
  std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
  putU64(out, e.offset);
  putU64(out, e.oldSize);
  putU64(out, e.oldBytes.size());
  out.insert(out.end(), e.oldBytes.begin(), e.oldBytes.end());
  putU64(out, checksum(out.data(), out.size()));
  return out;
}

// The entry a journal holds, or nothing when it is incomplete or not ours.
std::optional<Entry> decode(const std::vector<uint8_t>& in) {
  if (in.size() < kHeader + 8 || std::memcmp(in.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
  Entry e;
  e.offset = getU64(in.data() + 8);
  e.oldSize = getU64(in.data() + 16);
  const uint64_t length = getU64(in.data() + 24);
  if (length > kLargest || in.size() != kHeader + length + 8) return std::nullopt;
  if (checksum(in.data(), in.size() - 8) != getU64(in.data() + in.size() - 8)) return std::nullopt;
  if (e.offset + length > e.oldSize) return std::nullopt;
  e.oldBytes.assign(in.begin() + kHeader, in.end() - 8);
  return e;
}

std::vector<uint8_t> readJournal(const std::filesystem::path& journal) {
  // Never through a link, never blocking on something that is not a file.
  FileHandle file = openRegular(journal, O_RDONLY | O_NOFOLLOW);
  const uint64_t size = fileSize(file.get(), journal);
  if (size > kLargest + kHeader + 8) return {};
  std::vector<uint8_t> bytes(size);
  readAt(file.get(), 0, bytes.data(), bytes.size(), journal);
  return bytes;
}

}  // namespace

std::filesystem::path pathFor(const std::filesystem::path& realArchive) {
  std::filesystem::path p = realArchive;
  p += ".jrn";
  return p;
}

bool exists(const std::filesystem::path& journal) {
  struct stat st {};
  return ::lstat(journal.c_str(), &st) == 0;
}

bool write(const std::filesystem::path& journal, const Entry& entry) {
  ioStep(IoStep::Open);
  const int fd = ::open(journal.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0 && (errno == EACCES || errno == EPERM)) return false;
  if (fd < 0) throw StoreError(describeFailure("cannot create", journal, errno));
  FileHandle file(fd);
  try {
    const std::vector<uint8_t> bytes = encode(entry);
    writeAt(fd, 0, bytes.data(), bytes.size(), journal);
    syncData(fd, journal);
    file.close(journal);
    syncFolderOf(journal);
  } catch (...) {
    ::unlink(journal.c_str());  // not yet relied on: the archive is untouched
    throw;
  }
  return true;
}

void undo(int archiveFd, const std::filesystem::path& archive, const Entry& entry) {
  writeAt(archiveFd, entry.offset, entry.oldBytes.data(), entry.oldBytes.size(), archive);
  truncateTo(archiveFd, entry.oldSize, archive);
  syncData(archiveFd, archive);
}

void remove(const std::filesystem::path& journal) {
  ioStep(IoStep::Remove);
  if (::unlink(journal.c_str()) != 0 && errno != ENOENT)
    throw StoreError(describeFailure("cannot remove", journal, errno));
  syncFolderOf(journal);
}

bool recover(const std::filesystem::path& journal, int archiveFd, const std::filesystem::path& archive) {
  if (!zel::journal::exists(journal)) return false;
  std::optional<Entry> entry;
  try {
    entry = decode(readJournal(journal));
  } catch (const StoreError&) {
    // A link, a folder or some other thing in the journal's place is not a
    // journal this program wrote.
    struct stat st {};
    if (::lstat(journal.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) throw;
  }
  if (entry) undo(archiveFd, archive, *entry);
  zel::journal::remove(journal);
  return true;
}

}  // namespace zel::journal
