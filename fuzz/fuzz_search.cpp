// The searches over arbitrary records and criteria: the match rule against a
// plain reading of it, the list lines of every layout, the sorted order,
// find in list and the pick of an item line.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "core/findinlist.h"
#include "core/textlist.h"
#include "fuzzcheck.h"
#include "store/clientsearch.h"
#include "store/productsearch.h"
#include "store/recordsearch.h"
#include "store/supplyitem.h"

using namespace zel;

namespace {

std::string lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string trimmed(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return std::string(s.substr(b, e - b));
}

// The rule as the user reads it: every criterion not blank occurs in its
// field, letter case of A-Z aside.
bool plainMatch(const Layout& layout, const uint8_t* record, const Criteria& criteria) {
  for (const Criterion& c : criteria) {
    if (trimmed(c.text).empty()) continue;
    if (lowered(storedText(layout, record, c.field)).find(lowered(c.text)) == std::string::npos) return false;
  }
  return true;
}

const Layout& layoutOf(int choice) {
  switch (choice) {
    case 0: return clientLayout();
    case 1: return productLayout();
    default: return supplyLayout();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const Layout& layout = layoutOf(in.ConsumeIntegralInRange(0, 2));

  Criteria criteria;
  const size_t criteriaCount = in.ConsumeIntegralInRange<size_t>(0, 4);
  for (size_t i = 0; i < criteriaCount; ++i)
    criteria.push_back({in.ConsumeIntegralInRange<size_t>(0, layout.fieldCount() - 1), in.ConsumeRandomLengthString(40)});
  const std::string typed = in.ConsumeRandomLengthString(20);

  std::vector<std::vector<uint8_t>> raws;
  std::vector<Record> records;
  while (in.remaining_bytes() > 0 && raws.size() < 8) {
    std::vector<uint8_t> raw(layout.recordSize(), 0);
    const std::vector<uint8_t> given = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 600));
    // The bytes are spread over the record so that later fields get some too.
    for (size_t i = 0; i < given.size(); ++i) raw[(i * 7) % raw.size()] = given[i];
    records.push_back(decodeRecord(layout, raw.data()));
    raws.push_back(std::move(raw));
  }

  const Matcher matcher(layout, criteria);
  TextList lines;
  for (size_t r = 0; r < raws.size(); ++r) {
    FUZZ_CHECK(matcher.matches(raws[r].data()) == plainMatch(layout, raws[r].data(), criteria));
    const Record& record = records[r];
    if (&layout == &clientLayout()) {
      lines.push_back(clientLine(record));
    } else if (&layout == &productLayout()) {
      lines.push_back(productSearchLine(record));
      lines.push_back(stockLine(record));
      (void)isUnderStock(record);
    } else {
      const Text line = itemLine(record);
      lines.push_back(line);
      (void)isPending(record);
      const std::optional<size_t> back = recordOfLine(records, line);
      // Record numbers count from 1.
      FUZZ_CHECK(back && *back >= 1 && *back <= records.size() && trimmed(itemLine(records[*back - 1])) == trimmed(line));
    }
  }
  if (&layout == &supplyLayout()) (void)totalOfAmounts(records);

  lines.sortFolded();
  for (size_t i = 1; i < lines.size(); ++i) FUZZ_CHECK(!lessFolded(lines[i], lines[i - 1]));

  // Find in list, twice with the same text: a line found holds the key.
  std::optional<size_t> selected;
  Text lastKey;
  for (int press = 0; press < 2; ++press) {
    const FindStep step = findInList(lines, typed, lastKey, selected);
    if (lines.empty()) {
      FUZZ_CHECK(step.outcome == FindStep::Outcome::EmptyList);
      break;
    }
    FUZZ_CHECK(step.selected && *step.selected < lines.size());
    if (step.outcome == FindStep::Outcome::Found)
      FUZZ_CHECK(!typed.empty() && lowered(lines[*step.selected]).find(lowered(typed)) != std::string::npos);
    selected = step.selected;
    lastKey = step.lastKey;
  }
  return 0;
}
