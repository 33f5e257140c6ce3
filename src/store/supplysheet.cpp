#include "store/supplysheet.h"

#include "core/numbers.h"
#include "store/archivescan.h"
#include "store/card.h"
#include "store/recordfile.h"
#include "store/recordsearch.h"

namespace zel {
namespace supplysheet {
namespace {

constexpr size_t kItemLineRoom = 168;  // an item line is about 160 characters

bool isBlank(std::string_view s) { return trim(s).empty(); }

// The value of a number box rounded to four decimals, in general form; no
// value when the text is not a number.
std::optional<Text> roundedToFour(std::string_view typed) {
  const std::optional<Decimal> v = parseDecimal(typed);
  if (!v) return std::nullopt;
  return generalForm(roundDecimal(*v, 4));
}

struct StopListing {
  Text why;
};

}  // namespace

Text priceOnExit(std::string_view typed) {
  if (isBlank(typed)) return kDefaultMoney;
  const std::optional<Text> rounded = roundedToFour(typed);
  if (!rounded) return kDefaultMoney;
  return completeAmount(*rounded);
}

Text quantityOnExit(std::string_view typed) {
  Text t(typed);
  if (!isBlank(t)) {
    const std::optional<Text> rounded = roundedToFour(t);
    if (!rounded) return kDefaultQuantity;
    t = *rounded;
  }
  if (isBlank(t) || trim(t) == ",") return kDefaultQuantity;
  if (t.front() == ',') t = "0" + t;
  if (t.back() == ',') t += "00";
  if (trim(t) == "0") return kDefaultQuantity;
  return t;
}

NumberKey numberKey(std::string_view current, char32_t typed) {
  // The value is looked at before the key: a box at or under the limit takes
  // one more digit, the next key then resets it.
  if (!isBlank(current)) {
    const std::optional<Decimal> v = parseDecimal(current);
    if (!v || *v > Decimal::fromInteger(kNumberBoxLimit)) return NumberKey::Reset;
  }
  if (typed >= U'0' && typed <= U'9') return NumberKey::Accept;
  if (typed == U',') return current.find(',') == std::string_view::npos ? NumberKey::Accept : NumberKey::Discard;
  return NumberKey::Discard;
}

bool acceptsEdit(std::string_view before, std::string_view after) {
  bool typable = true, comma = false;
  for (const char c : after) {
    if (c == ',' && !comma) comma = true;
    else if (c < '0' || c > '9') typable = false;
  }
  if (typable) return true;
  // Only deletions: `after` is `before` with some characters left out.
  size_t i = 0;
  for (const char c : before)
    if (i < after.size() && after[i] == c) ++i;
  return i == after.size();
}

Calculation calculate(std::string_view quantity, std::string_view price, std::string_view amount) {
  Calculation c{Text(quantity), Text(price), Text(amount), true};
  if (isBlank(c.quantity)) c.quantity = kDefaultQuantity;
  if (isBlank(c.price)) c.price = kDefaultMoney;
  if (isBlank(c.amount)) c.amount = kDefaultMoney;
  const std::optional<Decimal> q = parseDecimal(c.quantity);
  const std::optional<Decimal> p = parseDecimal(c.price);
  if (!q || !p) return {kDefaultQuantity, kDefaultMoney, kDefaultMoney, false, false};
  Calculation tooLarge = c;
  tooLarge.valid = false;
  tooLarge.tooLarge = true;
  // The product is written in general form first and rounded from that text;
  // a product beyond the reader's range does not read back.
  const std::optional<Decimal> shown = parseDecimal(generalForm(*q * *p));
  if (!shown) return tooLarge;
  Text text = completeAmount(generalForm(roundDecimal(*shown, 2)));
  // An amount longer than its field would be stored cut, that is wrong.
  const int capacity = supplyLayout().field(supply::Importo).capacity;
  if (text.size() > static_cast<size_t>(capacity)) return tooLarge;
  c.amount = std::move(text);
  return c;
}

Text ItemList::total() const {
  if (!complete) return generalForm(sum);
  return lines.empty() ? Text(kDefaultMoney) : totalText(sum);
}

ItemList listItems(const std::filesystem::path& supplyFile, Items which, Access access,
                   const Progress& progress) {
  // Each range of the file lists its items and sums their amounts on its own
  // thread; the parts are then joined in file order.
  std::vector<TextList> lines;
  std::vector<Decimal> sums;
  std::vector<Text> line;
  PartedScan scan;
  // The pending items are few: only their state is read of every item.
  scan.fieldsRead = which == Items::All ? itemLineFields() : std::vector<size_t>{supply::Pagamento};
  scan.prepare = [&](size_t parts) {
    lines.resize(parts);
    sums.resize(parts);
    line.resize(parts);
    // The sheet lists every item: its lines' room is taken at once.
    const size_t room = recordsIn(supplyFile, supplyLayout()) / std::max<size_t>(1, parts);
    if (which == Items::All)
      for (TextList& l : lines) l.reserve(room, room * kItemLineRoom);
  };
  scan.visit = [&](size_t part, size_t k, const uint8_t* bytes) {
    if (which == Items::Pending && !isStoredPending(bytes)) return;
    lines[part].emplace([bytes](TextList::Line& line) { storedItemLine(bytes, line); });
    const std::optional<Decimal> v = parseDecimal(trimView(storedText(supplyLayout(), bytes, supply::Importo)));
    if (!v) throw StopListing{"record " + std::to_string(k) + ": the amount is not a number"};
    sums[part] += *v;
  };
  ItemList list;
  try {
    const std::vector<ScanPart> scanned = scanInParts(supplyFile, supplyLayout(), access, progress, scan);
    const size_t kept = partsKept(scanned);
    lines.resize(kept);
    list.lines = lines.size() == 1 ? std::move(lines.front()) : TextList::joined(std::move(lines));
    for (size_t i = 0; i < kept; ++i) list.sum += sums[i];
    rethrowFirstFailure(scanned);
    list.complete = true;
  } catch (const StopListing& stop) {
    list.problem = stop.why;  // the lines and the running sum reached so far stay
  } catch (const Cancelled&) {
    throw;  // the user's stop: no list at all
  } catch (const StoreError& e) {
    if (access == Access::Existing) tellSupplyGone(e, supplyFile);
    list.problem = e.what();
  } catch (const std::exception& e) {
    list.problem = e.what();
  }
  return list;
}

std::optional<FoundItem> findRecordOfLine(const std::filesystem::path& supplyFile, std::string_view line) {
  const std::string_view wanted = trimView(line);
  RecordFile file = openCardArchive({supplyFile, &supplyLayout(), {}, false}, Lock::Shared);
  std::optional<FoundItem> found;
  Text built;
  file.scan([&](size_t k, const uint8_t* bytes) {
    storedItemLine(bytes, built);
    if (trimView(built) == wanted) found = FoundItem{k, decodeRecord(supplyLayout(), bytes)};
  });
  file.close();
  return found;
}

}  // namespace supplysheet
}  // namespace zel
