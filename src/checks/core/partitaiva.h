#pragma once
// The partita IVA check: the Luhn-style check digit of the 11-digit Italian
// VAT number, and the VAT office named by digits 8 to 10.
#include <string_view>

#include "checks/core/checkresult.h"

namespace zel {

// True for exactly 11 digits whose last is the check digit of the first ten.
bool IsPartitaIvaValid(std::string_view number);
// The name of the office with this 3-digit code, compared as text; empty
// when the code is not one of the 104 in the table.
Text UfficioIva(std::string_view code);

namespace partitaiva {
// The box's maximum length; "Controlla" is enabled when the box holds at
// least that many characters (the opener may hand over more). Keys:
// isDigitBoxKey.
inline constexpr size_t kLength = 11;
bool canCheck(std::string_view text);
// Enter presses it only when the box holds exactly that many (a longer text
// handed over by the opener is checked by the button alone).
bool enterChecks(std::string_view text);
}  // namespace partitaiva

// The result of the check of `number`, of any length: a valid number names
// its issuing office (a plain message).
CheckResult partitaIvaResult(std::string_view number);
// What "Controlla" shows: the result for an 11-character text, otherwise the
// length refusal (`refused` set; the window stays open).
CheckResult partitaIvaButtonResult(std::string_view text);

}  // namespace zel
