#include "store/recordsearch.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "store/archivescan.h"

namespace zel {
namespace {

// Room taken up front for the lines of a search, per record of the file: a
// client line is about 150 characters. Growing a buffer of many megabytes
// step by step would copy it and touch fresh memory each time.
constexpr size_t kLineRoom = 192;
constexpr size_t kMaxRecordsRoom = size_t{1} << 20;

}  // namespace

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

size_t recordsIn(const std::filesystem::path& file, const Layout& layout) {
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(file, ec);
  return ec ? 0 : static_cast<size_t>(size / layout.recordSize());
}

TextList searchLines(const std::filesystem::path& file, const Layout& layout, Access access,
                     const Criteria& criteria, const LineBuilder& lineOf, const std::vector<size_t>& lineFields,
                     const Progress& progress) {
  const Matcher matcher(layout, criteria);
  // Each range of the file gathers and sorts its own lines on its own
  // thread; the sorted parts are then merged.
  std::vector<TextList> found;
  PartedScan scan;
  // With a criterion most records are only tested; without, each gives a line.
  if (matcher.filled() == 0) scan.fieldsRead = lineFields;
  for (const Criterion& c : criteria) scan.fieldsRead.push_back(c.field);
  scan.prepare = [&](size_t parts) {
    found.resize(parts);
    const size_t room = std::min(recordsIn(file, layout), kMaxRecordsRoom) / std::max<size_t>(1, parts);
    for (TextList& f : found) f.reserve(room, room * kLineRoom);
  };
  scan.visit = [&](size_t part, size_t, const uint8_t* bytes) {
    if (!matcher.matches(bytes)) return;
    found[part].emplace([&](TextList::Line& line) { lineOf(bytes, line); });
  };
  scan.finish = [&](size_t part) {
    found[part].shrinkToFit();
    found[part].sortFolded();
  };
  rethrowFirstFailure(scanInParts(file, layout, access, progress, scan));
  return found.size() == 1 ? std::move(found.front()) : TextList::mergedFolded(std::move(found));
}

std::optional<PickedRecord> pickRecord(const std::filesystem::path& file, const Layout& layout,
                                       Access access, std::string_view line,
                                       const LineBuilder& lineOf) {
  const std::string_view wanted = trimView(line);
  std::optional<PickedRecord> found;
  TextList built;  // one line at a time, in the same buffer
  scanFile(file, layout, access, [&](size_t k, const uint8_t* bytes) {
    built.clear();
    built.emplace([&](TextList::Line& line) { lineOf(bytes, line); });
    if (trimView(built[0]) == wanted) found = PickedRecord{k, decodeRecord(layout, bytes)};
  });
  return found;
}

}  // namespace zel
