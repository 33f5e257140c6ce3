#include "checks/core/carta.h"

#include <initializer_list>

namespace zel {
namespace {

constexpr size_t kCheckedCharacters = 20;

bool oneOf(std::string_view prefix, std::initializer_list<std::string_view> prefixes) {
  for (std::string_view p : prefixes)
    if (prefix == p) return true;
  return false;
}

}  // namespace

int CartaCheck(std::string_view number) {
  Text digits;
  for (char c : number.substr(0, kCheckedCharacters))
    if (c >= '0' && c <= '9') digits += c;
  if (digits.empty()) return 0;

  // From the digit next to the last one leftwards, every second digit is
  // doubled, starting with that one.
  int sum = 0;
  bool doubled = true;
  for (size_t j = digits.size() - 1; j-- > 0; doubled = !doubled) {
    int value = digits[j] - '0';
    if (doubled) value = value * 2 > 9 ? value * 2 - 9 : value * 2;
    sum += value;
  }
  const int check = (10 - sum % 10) % 10;
  if (digits.back() - '0' != check) return 0;
  return digits.front() - '0' - 2;
}

Text CartaCircuito(int result, std::string_view prefix) {
  switch (result) {
    case 1:
      if (oneOf(prefix, {"30", "36", "38"})) return "Diner's Club / Carte Blanche";
      if (oneOf(prefix, {"34", "37"})) return "American Express";
      if (oneOf(prefix, {"31", "33", "35"})) return "JCB";
      return {};
    case 2: return "Visa";
    case 3: return "MasterCard";
    case 4: return "Discover";
    default: return {};
  }
}

bool carta::canCheck(std::string_view text) { return text.size() >= kMinLength; }

CheckResult cartaResult(std::string_view number) {
  const Text typed = trim(number);
  const int result = CartaCheck(typed);
  if (result < 1 || result > 4)
    return {false, false, "Risultato controllo numero di carta di credito",
            "Attenzione: il numero digitato risulta ERRATO!\r\n\r\n"
            "Non \xE8 quindi possibile fornire informazioni relative al tipo di carta di credito.",
            CheckIcon::Warning};
  Text text = "Il numero di carta di credito " + typed + " risulta valido.";
  // A passing number of no known network (first digits 32 or 39) is still
  // valid: it gets the same message without the network sentence.
  const Text network = CartaCircuito(result, typed.substr(0, 2));
  if (!network.empty()) text += "\r\n\r\nLa carta di credito \xE8 del tipo " + network + ".";
  return {true, false, "", text, CheckIcon::None};
}

}  // namespace zel
