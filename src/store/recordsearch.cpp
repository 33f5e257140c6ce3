#include "store/recordsearch.h"

#include <algorithm>

namespace zel {

Matcher::Matcher(const Layout& layout, const Criteria& criteria) : layout_(&layout) {
  for (const Criterion& c : criteria) {
    if (c.field >= layout.fieldCount()) throw std::out_of_range("criterion on no field");
    if (!trimView(c.text).empty()) keys_.emplace_back(c.field, lowerAscii(c.text));
  }
}

bool Matcher::matches(const uint8_t* record) const {
  for (const auto& [field, key] : keys_)
    if (!containsLowered(storedText(*layout_, record, field), key)) return false;
  return true;
}

void sortLines(std::vector<Text>& lines) {
  std::sort(lines.begin(), lines.end(),
            [](const Text& a, const Text& b) { return lessFolded(a, b); });
}

std::vector<Text> searchLines(const std::filesystem::path& file, const Layout& layout,
                              Access access, const Criteria& criteria,
                              const LineBuilder& lineOf) {
  const Matcher matcher(layout, criteria);
  std::vector<Text> lines;
  Text line;
  scanFile(file, layout, access, [&](size_t, const uint8_t* bytes) {
    if (!matcher.matches(bytes)) return;
    lineOf(bytes, line);
    lines.push_back(line);
  });
  sortLines(lines);
  return lines;
}

std::optional<PickedRecord> pickRecord(const std::filesystem::path& file, const Layout& layout,
                                       Access access, std::string_view line,
                                       const LineBuilder& lineOf) {
  const std::string_view wanted = trimView(line);
  std::optional<PickedRecord> found;
  Text built;
  scanFile(file, layout, access, [&](size_t k, const uint8_t* bytes) {
    lineOf(bytes, built);
    if (trimView(built) == wanted) found = PickedRecord{k, decodeRecord(layout, bytes)};
  });
  return found;
}

}  // namespace zel
