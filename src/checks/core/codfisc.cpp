#include "checks/core/codfisc.h"

#include <array>

namespace zel {
namespace {

// Both tables cover the codes from '0' (48) to 'Z' (90); the seven codes
// between '9' and 'A' are worth 0.
constexpr unsigned char kFirst = '0';
constexpr unsigned char kLast = 'Z';
using Table = std::array<int, kLast - kFirst + 1>;

constexpr Table evenTable() {
  Table t{};
  for (int d = 0; d <= 9; ++d) t['0' + d - kFirst] = d;
  for (int l = 0; l < 26; ++l) t['A' + l - kFirst] = l;
  return t;
}

constexpr Table oddTable() {
  // Values of A to Z; the digits 0 to 9 are worth what A to J are.
  constexpr int letters[26] = {1,  0, 5,  7,  9,  13, 15, 17, 19, 21, 2,  4,  18,
                               20, 11, 3, 6,  8,  12, 14, 16, 10, 22, 25, 24, 23};
  Table t{};
  for (int d = 0; d <= 9; ++d) t['0' + d - kFirst] = letters[d];
  for (int l = 0; l < 26; ++l) t['A' + l - kFirst] = letters[l];
  return t;
}

constexpr Table kEven = evenTable();
constexpr Table kOdd = oddTable();

const char kTitle[] = "Risultato controllo codice fiscale";

}  // namespace

bool IsCodFiscValid(std::string_view code) {
  if (code.size() != codfisc::kLength) return false;
  int sum = 0;
  for (size_t i = 0; i + 1 < code.size(); ++i) {
    const auto c = static_cast<unsigned char>(code[i]);
    if (c < kFirst || c > kLast) return false;
    // i counts from 0, so even i is an odd position.
    sum += (i % 2 == 0 ? kOdd : kEven)[c - kFirst];
  }
  return code.back() == static_cast<char>('A' + sum % 26);
}

bool codfisc::canCheck(std::string_view text) { return text.size() >= kLength; }
bool codfisc::enterChecks(std::string_view text) { return text.size() == kLength; }

CheckResult codFiscResult(std::string_view code) {
  if (IsCodFiscValid(upperAscii(code)))
    return {true, false, kTitle, "Il codice fiscale digitato \xE8 VALIDO.", CheckIcon::Information};
  return {false, false, kTitle, "Attenzione: il codice fiscale digitato \xE8 ERRATO.",
          CheckIcon::Warning};
}

CheckResult codFiscButtonResult(std::string_view text) {
  if (text.size() == codfisc::kLength) return codFiscResult(text);
  return {false, true, kTitle,
          "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.",
          CheckIcon::Information};
}

}  // namespace zel
