#pragma once
// Records (of clients, or of any layout) that carry their identity in every
// byte: a serial (which record) and a version (how many times it was saved
// over), repeated through every field. A record torn between two versions,
// or mixed up with another, no longer reads as any (serial, version).
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "store/layout.h"

namespace zel::test {

struct ChurnId {
  uint64_t serial = 0;
  uint64_t version = 0;
  bool operator==(const ChurnId& o) const { return serial == o.serial && version == o.version; }
  bool operator!=(const ChurnId& o) const { return !(*this == o); }
};

inline std::string churnTag(ChurnId id) {
  return "s" + std::to_string(id.serial) + "v" + std::to_string(id.version) + ";";
}

inline Record churnRecord(ChurnId id, const Layout& layout = clientLayout()) {
  Record r = emptyRecord(layout);
  const std::string t = churnTag(id);
  for (size_t i = 0; i < layout.fieldCount(); ++i) {
    const auto capacity = static_cast<size_t>(layout.field(i).capacity);
    std::string text;
    while (text.size() < capacity) text += t;
    text.resize(capacity);
    r[i] = text;
  }
  return r;
}

// The identity a record carries, or nothing when its fields disagree.
inline std::optional<ChurnId> churnIdentity(const Record& r, const Layout& layout = clientLayout()) {
  ChurnId id;
  if (std::sscanf(r[0].c_str(), "s%" SCNu64 "v%" SCNu64 ";", &id.serial, &id.version) != 2) return std::nullopt;
  const Record expected = churnRecord(id, layout);
  for (size_t i = 0; i < expected.values.size(); ++i)
    if (r[i] != expected[i]) return std::nullopt;
  return id;
}

}  // namespace zel::test
