#include "store/journal.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "store/fileio.h"
#include "store/iohook.h"

namespace zel::journal {
namespace {

// The first format kept only the old bytes and the old size, and could not
// tell whether it belonged to the archive beside it: such a journal is not
// read, and is left alone as one that does not fit.
constexpr char kMagic[8] = {'Z', 'E', 'L', 'J', 'R', 'N', '2', '\n'};
constexpr size_t kFixed = sizeof kMagic + 4 * 8;  // magic, size, offset, record length, name length
constexpr size_t kChecksum = 8;
constexpr uint64_t kLargestRecord = 1 << 20;  // far above any record
constexpr uint64_t kLongestName = 4096;
constexpr uint64_t kLargestJournal = kFixed + kLongestName + 2 * kLargestRecord + kChecksum;

void putU64(std::vector<uint8_t>& out, uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint64_t getU64(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// FNV-1a: tells a damaged journal from a sound one.
uint64_t checksum(const uint8_t* p, size_t n) {
  uint64_t h = 14695981039346656037ull;
  for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

// Journals were once written under this name and renamed into place; a
// leftover of a save killed before its rename was never relied on.
std::filesystem::path leftoverOfEarlierVersions(const std::filesystem::path& journal) {
  std::filesystem::path p = journal;
  p += ".tmp";
  return p;
}

// A journal cut short while it was written: the beginning of one, never
// complete. An overwrite writes its record only once its whole journal is on
// the disk, so such a journal protected nothing: the archive is untouched.
bool isUnfinished(const std::vector<uint8_t>& bytes) {
  const size_t n = bytes.size();
  if (n == 0) return true;
  if (n < sizeof kMagic) return std::memcmp(bytes.data(), kMagic, n) == 0;
  if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return false;
  if (n < kFixed) return true;
  const uint64_t length = getU64(bytes.data() + 24);
  const uint64_t nameLength = getU64(bytes.data() + 32);
  if (length == 0 || length > kLargestRecord || nameLength > kLongestName) return false;
  return n < kFixed + nameLength + 2 * length + kChecksum;
}

// Root may write any file. A journal another user left is applied by root
// only to an archive of that user: else a planted journal beside a link
// would let any user rewrite a file of root's.
void requireOwnerMayApply(int journalFd, int archiveFd, const std::filesystem::path& journal) {
  struct stat byJournal {}, byArchive {};
  if (::geteuid() != 0 || ::fstat(journalFd, &byJournal) != 0 || byJournal.st_uid == 0) return;
  if (::fstat(archiveFd, &byArchive) == 0 && byArchive.st_uid == byJournal.st_uid) return;
  throw JournalRefused(journal, JournalRefused::Reason::CannotApply,
                       journal.string() + " was left by a user who does not own the archive; root leaves it "
                                          "for a desk of that user");
}

std::vector<uint8_t> readJournal(const std::filesystem::path& journal, int archiveFd) {
  // Never through a link, never blocking on something that is not a file.
  FileHandle file = openRegular(journal, O_RDONLY | O_NOFOLLOW);
  requireOwnerMayApply(file.get(), archiveFd, journal);
  const uint64_t size = fileSize(file.get(), journal);
  if (size > kLargestJournal)
    throw JournalRefused(
        journal, JournalRefused::Reason::DoesNotFit,
        journal.string() + " is too large to be a journal of this program; it is left as it is");
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  readAt(file.get(), 0, bytes.data(), bytes.size(), journal);
  return bytes;
}

}  // namespace

JournalRefused::JournalRefused(std::filesystem::path journal, Reason reason, const std::string& why)
    : StoreError(why), journal_(std::move(journal)), reason_(reason) {}

std::filesystem::path pathFor(const std::filesystem::path& realArchive) {
  std::filesystem::path p = realArchive;
  p += ".jrn";
  return p;
}

bool exists(const std::filesystem::path& journal) {
  struct stat st {};
  return ::lstat(journal.c_str(), &st) == 0;
}

std::vector<uint8_t> encode(const Entry& e) {
  std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
  putU64(out, e.archiveSize);
  putU64(out, e.offset);
  putU64(out, e.oldBytes.size());
  putU64(out, e.archiveName.size());
  out.insert(out.end(), e.archiveName.begin(), e.archiveName.end());
  out.insert(out.end(), e.oldBytes.begin(), e.oldBytes.end());
  out.insert(out.end(), e.newBytes.begin(), e.newBytes.end());
  putU64(out, checksum(out.data(), out.size()));
  return out;
}

std::optional<Entry> decode(const uint8_t* in, size_t size) {
  if (size < kFixed + kChecksum || std::memcmp(in, kMagic, sizeof kMagic) != 0) return std::nullopt;
  Entry e;
  e.archiveSize = getU64(in + 8);
  e.offset = getU64(in + 16);
  const uint64_t length = getU64(in + 24);
  const uint64_t nameLength = getU64(in + 32);
  // Each bound before any sum, so that no value wraps around.
  if (length == 0 || length > kLargestRecord || nameLength > kLongestName) return std::nullopt;
  if (size != kFixed + nameLength + 2 * length + kChecksum) return std::nullopt;
  if (checksum(in, size - kChecksum) != getU64(in + size - kChecksum)) return std::nullopt;
  if (e.offset > e.archiveSize || length > e.archiveSize - e.offset) return std::nullopt;
  const uint8_t* p = in + kFixed;
  e.archiveName.assign(p, p + nameLength);
  p += nameLength;
  e.oldBytes.assign(p, p + length);
  e.newBytes.assign(p + length, p + 2 * length);
  return e;
}

std::string misfit(const Entry& e, const std::string& archiveName, uint64_t archiveSize, size_t recordSize,
                   const uint8_t* current) {
  if (e.oldBytes.size() != recordSize || e.offset % recordSize != 0)
    return "it holds a record of " + std::to_string(e.oldBytes.size()) + " bytes at byte " +
           std::to_string(e.offset) + ", and the archive's records are of " + std::to_string(recordSize);
  if (e.archiveName != archiveName) return "it belongs to the archive " + e.archiveName;
  if (e.archiveSize != archiveSize)
    return "the archive holds " + std::to_string(archiveSize) + " bytes, the interrupted save left " +
           std::to_string(e.archiveSize);
  const uint64_t k = e.offset / recordSize + 1;
  if (current == nullptr) return "the archive has no record " + std::to_string(k);
  for (size_t i = 0; i < recordSize; ++i)
    if (current[i] != e.oldBytes[i] && current[i] != e.newBytes[i])
      return "record " + std::to_string(k) + " holds neither the saved record nor the one it replaced";
  return {};
}

bool write(const std::filesystem::path& journal, const Entry& entry) {
  ioStep(IoStep::Open);
  ::unlink(leftoverOfEarlierVersions(journal).c_str());
  // Exclusively, so never through a link nor over another journal (which
  // only the open that settles it may remove).
  const int fd = ::open(journal.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0 && (errno == EACCES || errno == EPERM)) return false;
  if (fd < 0) throw StoreError(describeFailure("cannot create", journal, errno));
  FileHandle file(fd);
  try {
    const std::vector<uint8_t> bytes = encode(entry);
    writeAt(fd, 0, bytes.data(), bytes.size(), journal);
    // One flush for the bytes and the new name where the file system
    // commits both at once; a journal cut short by a crash before it ends
    // is known for one (isUnfinished).
    syncAll(fd, journal);
    if (!flushesCarryNames(journal)) syncFolderOf(journal);
    file.close(journal);
  } catch (...) {
    // Not yet relied on: the archive is untouched.
    ::unlink(journal.c_str());
    throw;
  }
  return true;
}

void remove(const std::filesystem::path& journal) {
  ioStep(IoStep::Remove);
  if (::unlink(journal.c_str()) != 0 && errno != ENOENT)
    throw StoreError(describeFailure("cannot remove", journal, errno));
  // A journal that a crash brings back finds its archive holding the new
  // record, or the old one: it is recognised and removed again (settle). So
  // the removal needs no flush of its own where the next flush of any file
  // of the folder commits it; elsewhere a later save's journal could come
  // back beside an archive that has moved on, and be refused.
  if (!flushesCarryNames(journal)) syncFolderOf(journal);
}

namespace {

// Why an unfinished journal cannot be the beginning of one written for this
// archive as it stands: what it already holds (the archive's size and name,
// where the record lies, the first bytes of the old record) must all agree,
// or it was cut by something else than a crash.
std::string unfinishedMisfit(const std::vector<uint8_t>& bytes, int archiveFd, const std::filesystem::path& archive,
                             size_t recordSize) {
  if (bytes.size() < kFixed) return {};
  const uint64_t archiveSize = getU64(bytes.data() + 8);
  const uint64_t offset = getU64(bytes.data() + 16);
  const uint64_t nameLength = getU64(bytes.data() + 32);
  const size_t nameHeld = static_cast<size_t>(std::min<uint64_t>(nameLength, bytes.size() - kFixed));
  const uint8_t* name = bytes.data() + kFixed;
  const size_t oldHeld = std::min(recordSize, bytes.size() - kFixed - nameHeld);
  const uint8_t* old = name + nameHeld;
  if (getU64(bytes.data() + 24) != recordSize || offset % recordSize != 0)
    return "its record is not one of the archive's";
  const uint64_t size = fileSize(archiveFd, archive);
  if (archiveSize != size || offset > size || recordSize > size - offset) return "the archive is of another size";
  const std::string real = realFile(archive).filename().string();
  if (nameLength != real.size() || !std::equal(name, name + nameHeld, real.begin()))
    return "it belongs to another archive";
  std::vector<uint8_t> current(oldHeld);
  readAt(archiveFd, offset, current.data(), current.size(), archive);
  if (!std::equal(current.begin(), current.end(), old)) return "the archive's record is not the one it began to keep";
  return {};
}

void removeSettled(const std::filesystem::path& journal) {
  try {
    journal::remove(journal);
  } catch (const StoreError& e) {
    // Left in place it would undo the next save over this record: every
    // action stays refused until a desk that may remove it does.
    throw JournalRefused(journal, JournalRefused::Reason::CannotApply,
                         std::string("the archive is settled, but its journal stays: ") + e.what());
  }
}

}  // namespace

bool settle(const std::filesystem::path& journal, int archiveFd, const std::filesystem::path& archive,
            size_t recordSize) {
  using Reason = JournalRefused::Reason;
  if (!journal::exists(journal)) return false;
  const std::string left = "; both files are left as they are";
  std::vector<uint8_t> bytes;
  try {
    bytes = readJournal(journal, archiveFd);
  } catch (const JournalRefused&) {
    throw;
  } catch (const StoreError& e) {
    // Unreadable for this user, or a link or a folder in its place.
    throw JournalRefused(journal, Reason::CannotApply,
                         std::string("the journal of an interrupted save cannot be applied: ") + e.what() +
                             "; it is left for a desk that can apply it");
  }
  if (isUnfinished(bytes)) {
    const std::string why = unfinishedMisfit(bytes, archiveFd, archive, recordSize);
    if (!why.empty())
      throw JournalRefused(journal, Reason::DoesNotFit,
                           journal.string() + " is cut short and does not fit " + archive.string() + ": " + why +
                               left);
    removeSettled(journal);
    return true;
  }
  const std::optional<Entry> entry = decode(bytes.data(), bytes.size());
  if (!entry)
    throw JournalRefused(journal, Reason::DoesNotFit,
                         journal.string() + " is not a complete journal of this program" + left);

  const uint64_t size = fileSize(archiveFd, archive);
  std::vector<uint8_t> current(entry->oldBytes.size());
  const bool present = entry->offset <= size && current.size() <= size - entry->offset;
  if (present) readAt(archiveFd, entry->offset, current.data(), current.size(), archive);
  const std::string why = misfit(*entry, realFile(archive).filename().string(), size, recordSize,
                                 present ? current.data() : nullptr);
  if (!why.empty())
    throw JournalRefused(journal, Reason::DoesNotFit,
                         journal.string() + " does not fit " + archive.string() + ": " + why + left);

  // The whole new record there means the write was done, and only the
  // journal's removal was lost: the save stands. Anything else is put back.
  if (current != entry->newBytes && current != entry->oldBytes) {
    writeAt(archiveFd, entry->offset, entry->oldBytes.data(), entry->oldBytes.size(), archive);
    syncData(archiveFd, archive);
  }
  removeSettled(journal);
  return true;
}

}  // namespace zel::journal
