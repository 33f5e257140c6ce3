#pragma once
// The codice fiscale check: only the control character (the 16th) is
// verified, with the published rule of the Italian tax administration.
#include <string_view>

#include "checks/core/checkresult.h"

namespace zel {

// True when `code` has 16 characters and its 16th is the control character
// of the first 15. The code is expected upper-case, as the window keeps it. A
// character outside "0"-"Z" (a blank, a lower-case or accented letter, most
// punctuation) has no value in the tables and makes the code not valid; the
// seven characters between "9" and "A" are worth 0. Any other length is not
// valid either.
bool IsCodFiscValid(std::string_view code);

namespace codfisc {
// The window's box holds at most this many characters; "Controlla" is
// enabled when it holds at least that many (the opener may hand over more).
inline constexpr size_t kLength = 16;
bool canCheck(std::string_view text);
// Enter presses it only when the box holds exactly that many (a longer text
// handed over by the opener is checked by the button alone).
bool enterChecks(std::string_view text);
}  // namespace codfisc

// The result of the check of `code` (upper-cased first), of any length.
CheckResult codFiscResult(std::string_view code);
// What "Controlla" shows: the result for a 16-character text, otherwise the
// length refusal (`refused` set; the window keeps the focus in the box).
CheckResult codFiscButtonResult(std::string_view text);

}  // namespace zel
