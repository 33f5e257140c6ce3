#pragma once
// The undo journal of an overwrite. A record is larger than a memory page,
// and a process killed in the middle of writing it can leave half of the new
// bytes over half of the old ones. So before an overwrite the old bytes are
// kept, flushed, in a small file beside the archive ("Anagrafica.pro.jrn"),
// and the journal is removed once the new bytes are on the disk. A journal
// found later means the overwrite never finished: whoever opens the archive
// for writing next puts the old bytes back first.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace zel::journal {

// The journal of the archive that `realArchive` names (links followed).
std::filesystem::path pathFor(const std::filesystem::path& realArchive);

bool exists(const std::filesystem::path& journal);

// What the journal keeps: the archive's size and the bytes from `offset`
// that the write will cover (up to the old end of the file).
struct Entry {
  uint64_t offset = 0;
  uint64_t oldSize = 0;
  std::vector<uint8_t> oldBytes;
};

// Creates the journal (never through a link, never over another one),
// flushes it and its name. On failure nothing is left behind. Returns false,
// writing nothing, when the folder does not let this user create files (an
// archive may still be writable there: it is then written without a journal,
// as it always was).
bool write(const std::filesystem::path& journal, const Entry& entry);

// Puts an entry back into the archive open as `archiveFd`: the old bytes,
// then the old size, then a flush.
void undo(int archiveFd, const std::filesystem::path& archive, const Entry& entry);

// Removes the journal and flushes its folder.
void remove(const std::filesystem::path& journal);

// If a journal is there, undoes the overwrite it describes and removes it.
// A journal cut short (the process was killed while writing it, before the
// archive was touched) is only removed. Returns whether one was found.
bool recover(const std::filesystem::path& journal, int archiveFd, const std::filesystem::path& archive);

}  // namespace zel::journal
