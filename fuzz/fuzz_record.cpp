// The record reader over arbitrary bytes: one record decoded and encoded
// again, and a whole file of any length read through RecordFile.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "fuzzcheck.h"
#include "store/layout.h"
#include "store/recordfile.h"

using namespace zel;

namespace {

const Layout& layoutOf(uint8_t choice) {
  switch (choice % 3) {
    case 0: return clientLayout();
    case 1: return productLayout();
    default: return supplyLayout();
  }
}

// One record from the bytes (zero-padded): every text within its capacity,
// and reading what was written gives the same record back.
void oneRecord(const Layout& layout, std::string_view bytes) {
  std::vector<uint8_t> raw(layout.recordSize(), 0);
  std::memcpy(raw.data(), bytes.data(), std::min(bytes.size(), raw.size()));
  const Record record = decodeRecord(layout, raw.data());
  FUZZ_CHECK(record.values.size() == layout.fieldCount());
  const std::vector<size_t> oversized = oversizedFields(layout, raw.data());
  size_t next = 0;
  for (size_t i = 0; i < layout.fieldCount(); ++i) {
    const auto capacity = static_cast<size_t>(layout.field(i).capacity);
    const uint8_t length = raw[layout.offset(i)];
    FUZZ_CHECK(record[i].size() <= capacity);
    FUZZ_CHECK(storedText(layout, raw.data(), i).size() == std::min<size_t>(length, capacity));
    const bool listed = next < oversized.size() && oversized[next] == i;
    FUZZ_CHECK(listed == (length > capacity));
    if (listed) ++next;
  }
  std::vector<uint8_t> again(layout.recordSize(), 0xAA);
  encodeRecord(layout, record, again.data());
  FUZZ_CHECK(decodeRecord(layout, again.data()).values == record.values);
  FUZZ_CHECK(oversizedFields(layout, again.data()).empty());
}

// The bytes as a whole file: whole records counted, each read alike by
// number and by scan, a partial tail never shown.
void wholeFile(const Layout& layout, std::string_view bytes) {
  fuzz::MemoryFile memory(bytes);
  auto file = RecordFile::openReadOnly(memory.path(), layout);
  const size_t count = file.count();
  FUZZ_CHECK(count == bytes.size() / layout.recordSize());
  size_t visited = 0;
  file.scanRecords([&](size_t k, const Record& r) {
    FUZZ_CHECK(k == ++visited);
    const auto* at = reinterpret_cast<const uint8_t*>(bytes.data()) + (k - 1) * layout.recordSize();
    FUZZ_CHECK(r.values == decodeRecord(layout, at).values);
  });
  FUZZ_CHECK(visited == count);
  if (count > 0) FUZZ_CHECK(file.read(count).values == decodeRecord(layout, reinterpret_cast<const uint8_t*>(bytes.data()) + (count - 1) * layout.recordSize()).values);
  bool refused = false;
  try {
    file.read(count + 1);
  } catch (const StoreError&) {
    refused = true;
  }
  FUZZ_CHECK(refused);
  file.close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Layout& layout = layoutOf(data[0]);
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  oneRecord(layout, bytes);
  wholeFile(layout, bytes);
  return 0;
}
