// The crash journal over arbitrary bytes, found beside an archive of three
// records. The input's first byte tells whether the rest is the journal as
// it is, or its body to which the target adds a valid checksum (so that the
// fuzzer reaches past it into the fitting rules). The reader never fails but
// with a StoreError; a journal refused leaves the archive and itself exactly
// as they were; a journal settled is gone, and changed at most its own
// record, which held the old or the new bytes at every position and now
// holds the new record if it held all of it, else the old one; only the
// beginning of a journal changes nothing.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

#include "fuzzcheck.h"
#include "store/journal.h"
#include "store/layout.h"
#include "store/recordfile.h"

using namespace zel;

namespace {

namespace fs = std::filesystem;

constexpr size_t kRecords = 3;

std::vector<uint8_t> readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& file, const uint8_t* bytes, size_t size) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
  FUZZ_CHECK(out.good());
}

// Record k (1-based) is every byte k: the seeds' journals name them so.
std::vector<uint8_t> archiveBytes() {
  const size_t size = clientLayout().recordSize();
  std::vector<uint8_t> bytes(kRecords * size);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i / size + 1);
  return bytes;
}

// FNV-1a, as the journal's checksum.
std::vector<uint8_t> withChecksum(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out(data, data + size);
  uint64_t h = 14695981039346656037ull;
  for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211ull;
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(h >> (8 * i)));
  return out;
}

void canonical(const uint8_t* data, size_t size) {
  const std::optional<journal::Entry> entry = journal::decode(data, size);
  if (!entry) return;
  FUZZ_CHECK(entry->oldBytes.size() == entry->newBytes.size());
  FUZZ_CHECK(journal::encode(*entry) == std::vector<uint8_t>(data, data + size));
}

void settleBeside(const uint8_t* data, size_t size) {
  const fs::path archive = fuzz::workFolder() / "Anagrafica.pro";
  const fs::path journalFile = journal::pathFor(archive);
  const std::vector<uint8_t> before = archiveBytes();
  writeFile(archive, before.data(), before.size());
  writeFile(journalFile, data, size);

  bool applied = false;
  try {
    applied = settlePendingJournal(archive, clientLayout());
  } catch (const StoreError&) {
    FUZZ_CHECK(readFile(archive) == before);
    FUZZ_CHECK(readFile(journalFile) == std::vector<uint8_t>(data, data + size));
    return;
  }
  FUZZ_CHECK(applied);
  FUZZ_CHECK(!journal::exists(journalFile));
  const std::optional<journal::Entry> entry = journal::decode(data, size);
  const std::vector<uint8_t> after = readFile(archive);
  if (!entry) {
    // Only the beginning of a journal, which protected nothing yet.
    FUZZ_CHECK(after == before);
    return;
  }
  FUZZ_CHECK(after.size() == before.size());
  const size_t from = static_cast<size_t>(entry->offset), length = entry->oldBytes.size();
  // The whole new record there: the save was done and stands.
  const bool done = std::equal(entry->newBytes.begin(), entry->newBytes.end(), before.begin() + from);
  const std::vector<uint8_t>& settled = done ? entry->newBytes : entry->oldBytes;
  for (size_t i = 0; i < after.size(); ++i) {
    if (i < from || i >= from + length) {
      FUZZ_CHECK(after[i] == before[i]);
    } else {
      FUZZ_CHECK(after[i] == settled[i - from]);
      FUZZ_CHECK(before[i] == entry->oldBytes[i - from] || before[i] == entry->newBytes[i - from]);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::vector<uint8_t> journal =
      (data[0] & 1) ? withChecksum(data + 1, size - 1) : std::vector<uint8_t>(data + 1, data + size);
  canonical(journal.data(), journal.size());
  settleBeside(journal.data(), journal.size());
  return 0;
}
