#include "store/supplyitem.h"

#include "core/numbers.h"

namespace zel {

Text padTo(std::string_view t, size_t w) {
  Text out;
  appendPadded(out, t, w);
  return out;
}

Text itemLine(const Record& item) {
  auto f = [&](supply::Field i) { return trim(item[i]); };
  Text line;
  line.reserve(170);
  line += padTo(f(supply::Data), 12);
  line += "  ";
  line += padTo("Quant. " + f(supply::Quantita), 23);
  line += ' ';
  line += padTo("UM: " + f(supply::UM), 14);
  line += "  Prezzo: \x80 ";
  line += padTo(f(supply::Prezzo), 16);
  line += "  ";
  line += padTo(f(supply::Prodotto), 60);
  line += "  Tot. \x80 ";
  line += f(supply::Importo);
  return line;
}

bool isPending(const Record& item) {
  return trim(upperAscii(item[supply::Pagamento])) == "IN SOSPESO";
}

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
