#include "checks/core/iban.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace zel {
namespace {

// Each step reads at most nine digits, carried remainder included, so no
// number ever needs more than 32 bits.
constexpr size_t kPieceDigits = 9;
constexpr int kModulus = 97;

const char kTitle[] = "Risultato controllo codice IBAN";

}  // namespace

int IbanResto(std::string_view code) {
  Text text = upperAscii(code);
  const size_t label = text.find("IBAN");
  if (label != Text::npos) text.erase(label, 4);
  // Country code and check digits go to the end.
  const size_t head = std::min<size_t>(4, text.size());
  text = text.substr(head) + text.substr(0, head);

  Text digits;
  for (char c : text) {
    if (c >= 'A' && c <= 'Z') digits += std::to_string(c - 'A' + 10);
    else if (c >= '0' && c <= '9') digits += c;
    else return 0;  // the digit string cannot be read
  }

  int remainder = 0;
  Text carry;
  for (size_t pos = 0; pos < digits.size();) {
    const size_t take = kPieceDigits - carry.size();
    const Text piece = carry + digits.substr(pos, take);
    pos += take;
    uint32_t value = 0;
    for (char c : piece) value = value * 10 + static_cast<uint32_t>(c - '0');
    remainder = static_cast<int>(value % kModulus);
    carry = std::to_string(remainder);
  }
  return remainder;
}

bool IsIbanValid(std::string_view iban) {
  Text compact;
  for (char c : iban)
    if (c != ' ') compact += c;
  return IbanResto(compact) == 1;
}

bool iban::canCheck(std::string_view text) { return text.size() >= kMinLength; }

CheckResult ibanResult(std::string_view iban) {
  if (IsIbanValid(trim(iban)))
    return {true, false, kTitle, "Il codice IBAN digitato \xE8 ESATTO.", CheckIcon::Information};
  return {false, false, kTitle, "Attenzione: il codice IBAN digitato \xE8 ERRATO!",
          CheckIcon::Warning};
}

}  // namespace zel
