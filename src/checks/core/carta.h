#pragma once
// The credit card check: the Luhn check digit (ISO/IEC 7812) and the card
// network told by the first digits. No length rule per network is applied.
#include <string_view>

#include "checks/core/checkresult.h"

namespace zel {

// 0 when the number fails the check; otherwise its first digit minus 2 (so
// 0 also for a passing number that starts with 2). Only the digits among the
// first 20 characters take part; other characters are skipped.
int CartaCheck(std::string_view number);
// The network of a number with this CartaCheck result and these first two
// characters, or empty when none is known (results other than 1 to 4, and a
// first digit 3 followed by 2 or 9).
Text CartaCircuito(int result, std::string_view prefix);

namespace carta {
// "Controlla" is enabled from this many characters on, and Enter presses it
// from then on; the box has no length limit. Keys: isDigitBoxKey.
inline constexpr size_t kMinLength = 13;
bool canCheck(std::string_view text);
}  // namespace carta

// What "Controlla" shows for `number` (blanks around it are removed; the
// message repeats the number whole). A passing number of an unknown network
// is still reported valid, only without the network sentence.
CheckResult cartaResult(std::string_view number);

}  // namespace zel
