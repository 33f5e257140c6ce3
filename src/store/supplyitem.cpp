#include "store/supplyitem.h"

#include "core/numbers.h"

namespace zel {

Text padTo(std::string_view t, size_t w) {
  Text out;
  appendPadded(out, t, w);
  return out;
}

namespace {

// A label and a text together padded or cut to w characters (the label is
// always shorter than w).
template <class Out>
void appendLabelled(Out& out, std::string_view label, std::string_view t, size_t w) {
  out += label;
  appendPadded(out, t, w - label.size());
}

// One builder for a decoded record and for stored bytes, so the two never
// differ; `field` gives each field trimmed.
template <class FieldOf, class Out>
void buildItemLine(const FieldOf& field, Out& out) {
  out.clear();
  appendPadded(out, field(supply::Data), 12);
  out += "  ";
  appendLabelled(out, "Quant. ", field(supply::Quantita), 23);
  out += ' ';
  appendLabelled(out, "UM: ", field(supply::UM), 14);
  out += "  Prezzo: \x80 ";
  appendPadded(out, field(supply::Prezzo), 16);
  out += "  ";
  appendPadded(out, field(supply::Prodotto), 60);
  out += "  Tot. \x80 ";
  out += field(supply::Importo);
}

template <class FieldOf>
bool pending(const FieldOf& field) {
  constexpr std::string_view kPendingState = "IN SOSPESO";
  const std::string_view state = field(supply::Pagamento);
  if (state.size() != kPendingState.size()) return false;
  for (size_t i = 0; i < state.size(); ++i) {
    const char c = state[i] >= 'a' && state[i] <= 'z' ? static_cast<char>(state[i] - 'a' + 'A') : state[i];
    if (c != kPendingState[i]) return false;
  }
  return true;
}

auto recordFields(const Record& item) {
  return [&item](supply::Field i) { return trimView(item[i]); };
}

auto storedFields(const uint8_t* item) {
  return [item](supply::Field i) { return trimView(storedText(supplyLayout(), item, i)); };
}

}  // namespace

Text itemLine(const Record& item) {
  Text line;
  line.reserve(170);
  buildItemLine(recordFields(item), line);
  return line;
}

const std::vector<size_t>& itemLineFields() {
  static const std::vector<size_t> fields = {supply::Data,  supply::Quantita, supply::UM,
                                             supply::Prezzo, supply::Prodotto, supply::Importo};
  return fields;
}

void storedItemLine(const uint8_t* item, Text& out) { buildItemLine(storedFields(item), out); }
void storedItemLine(const uint8_t* item, TextList::Line& out) { buildItemLine(storedFields(item), out); }

bool isPending(const Record& item) { return pending(recordFields(item)); }

bool isStoredPending(const uint8_t* item) { return pending(storedFields(item)); }

Text completeAmount(std::string_view s) {
  const size_t e = s.find_first_of("Ee");
  if (e == std::string_view::npos) return completeTwoDecimals(Text(s));
  return completeTwoDecimals(Text(s.substr(0, e))) + Text(s.substr(e));
}

Text totalText(const Decimal& sum) {
  // The sum goes through its general form first, as the screens show it.
  const Decimal shown = parseDecimal(generalForm(sum)).value_or(sum);
  return completeAmount(generalForm(roundDecimal(shown, 2)));
}

Text totalOfAmounts(const std::vector<Record>& items) {
  if (items.empty()) return "0,00";
  Decimal sum;
  for (const Record& r : items) sum += parseDecimal(trim(r[supply::Importo])).value_or(Decimal());
  return totalText(sum);
}

std::optional<size_t> recordOfLine(const std::vector<Record>& items, std::string_view line) {
  const Text wanted = trim(line);
  std::optional<size_t> found;
  for (size_t i = 0; i < items.size(); ++i)
    if (trim(itemLine(items[i])) == wanted) found = i + 1;
  return found;
}

}  // namespace zel
