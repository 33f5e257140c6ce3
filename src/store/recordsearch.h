#pragma once
// What every search over an archive shares: criteria by field, the match
// rule, the sorted list of result lines and the pick that maps a chosen line
// back to its record. The client, product and supply searches add their own
// fields and line forms.
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "core/progress.h"
#include "core/text.h"
#include "core/textlist.h"
#include "store/layout.h"
#include "store/recordfile.h"

namespace zel {

// One criterion box: the field it is compared with and its text exactly as
// typed (Windows-1252, not trimmed).
struct Criterion {
  size_t field;
  Text text;
};
using Criteria = std::vector<Criterion>;

// The criteria of one search, ready to be tested on raw records. A criterion
// is filled when its text is not blank after trimming; blank ones take no
// part. A record matches when every filled criterion, lower-cased (A-Z only)
// but otherwise as typed, occurs as a contiguous substring of its field as
// stored, lower-cased the same way. With nothing filled every record matches.
class Matcher {
 public:
  Matcher(const Layout& layout, const Criteria& criteria);
  size_t filled() const { return keys_.size(); }
  bool matches(const uint8_t* record) const;

 private:
  const Layout* layout_;
  std::vector<std::pair<size_t, Text>> keys_;  // field, lower-cased text
};

// Writes the list line of a raw record straight into the list that keeps it.
using LineBuilder = std::function<void(const uint8_t* record, TextList::Line& out)>;

// The lines of the records that match, in list order (TextList::sortFolded).
// `lineFields` are the fields `lineOf` reads (a hint for the scan: see
// PartedScan::fieldsRead). Throws StoreError when the archive cannot be
// read, Cancelled when `progress` (one step per record) is asked to stop.
TextList searchLines(const std::filesystem::path& file, const Layout& layout, Access access,
                     const Criteria& criteria, const LineBuilder& lineOf, const std::vector<size_t>& lineFields,
                     const Progress& progress = {});

// The whole records of a file as its size gives them, for a scan's
// progress (0 when the size cannot be read: the scan will say why).
size_t recordsIn(const std::filesystem::path& file, const Layout& layout);

// A record found again from its list line.
struct PickedRecord {
  size_t number = 0;  // 1-based record number
  Record record;      // every field, trimmed
};

// The LAST record in file order whose line, trimmed, equals `line` trimmed
// (exact, case-sensitive), or nothing. Every record is read, as a list shows
// the same line once per record that gives it. Throws StoreError.
std::optional<PickedRecord> pickRecord(const std::filesystem::path& file, const Layout& layout,
                                       Access access, std::string_view line,
                                       const LineBuilder& lineOf);

// A listing that keeps what it has when it cannot go on: the windows show the
// lines reached so far without a word; the tool reports why it stopped.
struct PartialListing {
  TextList lines;
  Text problem;  // empty when every record was read
  bool complete() const { return problem.empty(); }
};

}  // namespace zel
