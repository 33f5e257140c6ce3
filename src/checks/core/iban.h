#pragma once
// The IBAN check: the MOD 97-10 remainder of ISO 13616 is the whole check;
// country code, length per country and national check characters are not
// examined.
#include <string_view>

#include "checks/core/checkresult.h"

namespace zel {

// The remainder (0 to 96) of the code divided by 97 after upper-casing,
// removing the first "IBAN", moving the first four characters to the end and
// turning every letter into its two-digit number (A = 10 ... Z = 35); 0 when
// anything else than letters and digits is left, or nothing at all.
int IbanResto(std::string_view code);
// True when the IBAN as typed, with every blank removed, has remainder 1.
bool IsIbanValid(std::string_view iban);

namespace iban {
// "Controlla" is enabled, and Enter presses it, from this many characters
// on (blanks included); the box takes at most kMaxLength.
inline constexpr size_t kMinLength = 27;
inline constexpr size_t kMaxLength = 40;
bool canCheck(std::string_view text);
}  // namespace iban

// What "Controlla" shows for `iban` (blanks around it removed first).
CheckResult ibanResult(std::string_view iban);

}  // namespace zel
