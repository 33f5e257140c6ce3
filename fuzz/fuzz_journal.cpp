// The crash journal over arbitrary bytes, found beside an archive of three
// records. The input's first byte tells whether the rest is the journal as
// it is, or its body to which the target adds a valid checksum (so that the
// fuzzer reaches past it into the fitting rules). The reader never fails but
// with a StoreError; a journal refused
// leaves the archive and itself exactly as they were; a journal applied is
// gone, and changed at most its own record, which now holds the record the
// journal kept, after holding the old or the new bytes at every position.
#include <stdlib.h>

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

// One folder for the whole run, in memory where the system has one.
const fs::path& workFolder() {
  static const fs::path folder = [] {
    const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string name = (base / "zelvano-fuzz-XXXXXX").string();
    FUZZ_CHECK(::mkdtemp(name.data()) != nullptr);
    return fs::path(name);
  }();
  return folder;
}

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
  const fs::path archive = workFolder() / "Anagrafica.pro";
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
  FUZZ_CHECK(entry.has_value());
  const std::vector<uint8_t> after = readFile(archive);
  FUZZ_CHECK(after.size() == before.size());
  const size_t from = static_cast<size_t>(entry->offset), length = entry->oldBytes.size();
  for (size_t i = 0; i < after.size(); ++i) {
    if (i < from || i >= from + length) {
      FUZZ_CHECK(after[i] == before[i]);
    } else {
      FUZZ_CHECK(after[i] == entry->oldBytes[i - from]);
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
