#pragma once
// The undo journal of an overwrite. A record is larger than a memory page,
// and a process killed in the middle of writing it can leave half of the new
// bytes over half of the old ones. So before an overwrite the old and the new
// record are kept, flushed, in a small file beside the archive
// ("Anagrafica.pro.jrn"), and the journal is removed once the new bytes are on
// the disk. A journal found later means the overwrite was cut short, or that
// it finished and only the journal's removal was lost to a crash: before
// anyone reads or writes the archive, a record that holds the whole new
// record keeps it, and any other is given its old bytes back. A journal
// cut short itself protected nothing (the record is written only once the
// journal is whole on the disk) and is simply removed.
//
// So an overwrite costs two flushes: the journal (its bytes and its name at
// once, where the file system commits in order) and the record. The
// journal's removal needs none there.
//
// A journal is applied only where it belongs: to the archive it names, of the
// size the overwrite left, whose record at the journal's position holds the
// old record, the new one, or a mix of the two byte for byte (all an
// interrupted write can leave). Anything else (a journal beside a restored
// backup, another archive's journal, a damaged or foreign file) is left as it
// is, and so is the archive. A journal is removed only once applied: one that
// this user cannot read or apply stays for a desk that can.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/storeerror.h"

namespace zel::journal {

// The journal of the archive that `realArchive` names (links followed).
std::filesystem::path pathFor(const std::filesystem::path& realArchive);

bool exists(const std::filesystem::path& journal);

// What a journal identifies: the overwrite of one record of one archive.
struct Entry {
  std::string archiveName;        // the archive's file name (links followed)
  uint64_t archiveSize = 0;       // before the write and after: an overwrite keeps it
  uint64_t offset = 0;            // where the record lies
  std::vector<uint8_t> oldBytes;  // the record before the write
  std::vector<uint8_t> newBytes;  // the record the write puts there (same length)
};

// The file's bytes, and back. decode gives nothing for anything but a
// complete journal of this format with a sound checksum.
std::vector<uint8_t> encode(const Entry& entry);
std::optional<Entry> decode(const uint8_t* bytes, size_t size);

// Why `entry` cannot be the journal of an overwrite interrupted on this
// archive (its real file name, its size, its record size, and the bytes it
// now holds where the entry's record lies, or null when the file is too
// short to hold them); empty when it can.
std::string misfit(const Entry& entry, const std::string& archiveName, uint64_t archiveSize,
                   size_t recordSize, const uint8_t* current);

// A pending journal that was not applied, and the archive left as it was.
class JournalRefused : public StoreError {
 public:
  enum class Reason {
    CannotApply,  // this user cannot read it or cannot write the archive: left for another desk
    DoesNotFit,   // it does not describe a write that could have left the archive as it is
  };
  JournalRefused(std::filesystem::path journal, Reason reason, const std::string& why);
  const std::filesystem::path& journal() const { return journal_; }
  Reason reason() const { return reason_; }

 private:
  std::filesystem::path journal_;
  Reason reason_;
};

// Creates the journal (never through a link, never over another journal)
// and flushes it, with its folder where the file system needs that for a
// new name to last (flushesCarryNames). Its mode is 0666 less the umask, as
// for any file, so that another user's desk can apply it. On failure nothing
// is left behind. Returns false, writing nothing, when the folder does not
// let this user create files (an archive may still be writable there: it is
// then written without a journal, as it always was).
bool write(const std::filesystem::path& journal, const Entry& entry);

// Removes the journal; its folder is flushed only where a later flush of
// another file would not make the removal last.
void remove(const std::filesystem::path& journal);

// If a journal is there, settles it on the archive open (read-write,
// exclusively locked) as `archiveFd`: puts the old record back unless the
// whole new one is there, flushes, and removes the journal. Returns whether
// there was one. Throws JournalRefused, changing nothing, when the journal
// cannot be read or does not fit, or when this process runs as root and the
// journal's owner (another user) does not own the archive; and when it
// cannot be removed (the archive is then already settled).
bool settle(const std::filesystem::path& journal, int archiveFd, const std::filesystem::path& archive,
            size_t recordSize);

}  // namespace zel::journal
