#include "store/productrules.h"

#include <algorithm>
#include <optional>

#include "core/numbers.h"

namespace zel {
namespace {

// Whole pieces in the general form; nothing when the text is not a number.
std::optional<Text> wholePieces(std::string_view text) {
  const Text t = trim(text);
  if (t.empty()) return Text("0");
  const auto v = parseDecimal(t);
  if (!v) return std::nullopt;
  return generalForm(roundDecimal(*v, 0));
}

}  // namespace

bool normaliseProduct(Record& product) {
  // Both are checked before anything changes, so a refusal leaves the record whole.
  const auto stock = wholePieces(product[product::Giacenza]);
  const auto threshold = wholePieces(product[product::Sottoscorta]);
  if (!stock || !threshold) return false;
  if (trim(product[product::Prezzo]).empty()) product[product::Prezzo] = "0,00";
  product[product::Giacenza] = *stock;
  product[product::Sottoscorta] = *threshold;
  return true;
}

namespace productcard {

Key numberBoxKey(std::string_view current, char32_t key) {
  const Text t = trim(current);
  if (!t.empty()) {
    const auto v = parseDecimal(t);
    if (v && *v > Decimal::fromInteger(kValueLimit)) return Key::ValueTooLarge;
  }
  if (key == U'\b') return Key::Accept;
  if (key >= U'0' && key <= U'9') return Key::Accept;
  if (key == U',' && current.find(',') == std::string_view::npos) return Key::Accept;
  return Key::BadCharacter;
}

Key pasteKey(std::string_view current, std::string_view kept, std::string_view pasted) {
  const Key value = numberBoxKey(current, U'0');
  if (value != Key::Accept) return value;
  for (const char c : pasted)
    if ((c < '0' || c > '9') && c != ',') return Key::BadCharacter;
  const auto commas = std::count(kept.begin(), kept.end(), ',') + std::count(pasted.begin(), pasted.end(), ',');
  return commas > 1 ? Key::BadCharacter : Key::Accept;
}

bool takesText(std::string_view text) {
  const std::string_view t = trimView(text);
  for (size_t i = 0; i < t.size(); ++i)
    if (numberBoxKey(t.substr(0, i), static_cast<unsigned char>(t[i])) != Key::Accept) return false;
  // The next key would find the value too large.
  return numberBoxKey(t, U'0') != Key::ValueTooLarge;
}

Text priceOnExit(std::string_view text) {
  const Text t = trim(text);
  if (t.empty()) return "0,00";
  const auto v = parseDecimal(t);
  if (!v) return "0,00";
  Text s = generalForm(roundDecimal(*v, 4));
  const auto comma = s.find(',');
  if (comma == Text::npos)
    s += ",00";
  else if (s.size() - comma == 2)  // a comma and exactly one digit
    s += '0';
  return s;
}

Text piecesOnExit(std::string_view text) { return wholePieces(text).value_or("0"); }

}  // namespace productcard

}  // namespace zel
