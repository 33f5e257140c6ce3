#pragma once
// Numbers as the program shows and stores them: comma as decimal separator,
// no thousands separator.
#include <optional>
#include <string>
#include <string_view>

namespace zel {

// Reads a number: optional blanks, optional sign, digits, optional comma and
// digits, optional exponent (E or e, optional sign, digits), optional blanks.
// At least a digit or the comma must be present ("12," is 12, ",5" is 0.5,
// "," is 0). Anything else, a dot included, is not a number.
std::optional<double> parseNumber(std::string_view text);

// Int(x * 10^d + 0.5) / 10^d, with 10^d built by repeated multiplication and
// Int truncating toward zero.
double roundDecimal(double x, int decimals);

// Shortest text with up to 15 significant digits, comma separator, no
// trailing zeros: 12.5 -> "12,5", 8 -> "8".
std::string generalForm(double x);

// Completes an amount text to two decimals: "7" -> "7,00", "12,5" -> "12,50",
// "" and "," -> "0,00", ",5" -> "0,50"; "3,125" stays as it is.
std::string completeTwoDecimals(std::string s);

}  // namespace zel
