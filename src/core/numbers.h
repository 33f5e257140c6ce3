#pragma once
// Numbers as the program shows and stores them: comma as decimal separator,
// no thousands separator.
//
// Quantities, prices, amounts and stock are exact decimals. A binary double
// cannot hold 0,575 (it keeps 0,57499999...), so rounding it to two decimals
// would give 0,57; every rounding and every sum here works on the decimal
// digits the user typed instead.
#include <optional>
#include <string>
#include <string_view>

namespace zel {

// An exact decimal number: ±coefficient × 10^exponent, with as many digits as
// the computation needs (the 16-character fields give at most a few dozen).
class Decimal {
 public:
  Decimal() = default;  // zero
  static Decimal fromInteger(long long value);

  bool isZero() const { return digits_.empty(); }
  bool isNegative() const { return negative_; }
  // The nearest double (for callers that only compare or sort).
  double toDouble() const;

  friend Decimal operator+(const Decimal& a, const Decimal& b);
  friend Decimal operator-(const Decimal& a, const Decimal& b);
  friend Decimal operator*(const Decimal& a, const Decimal& b);
  Decimal& operator+=(const Decimal& other) { return *this = *this + other; }
  // -1, 0 or 1 as a is below, equal to or above b.
  friend int compare(const Decimal& a, const Decimal& b);
  friend bool operator==(const Decimal& a, const Decimal& b) { return compare(a, b) == 0; }
  friend bool operator!=(const Decimal& a, const Decimal& b) { return compare(a, b) != 0; }
  friend bool operator<(const Decimal& a, const Decimal& b) { return compare(a, b) < 0; }
  friend bool operator>(const Decimal& a, const Decimal& b) { return compare(a, b) > 0; }

  friend std::optional<Decimal> parseDecimal(std::string_view text);
  friend Decimal roundDecimal(const Decimal& x, int decimals);
  friend std::string generalForm(const Decimal& x);

 private:
  Decimal(bool negative, std::string digits, long exponent);
  // Drops leading and trailing zeros of the coefficient (zero has none).
  void normalise();
  // The power of ten of the leading digit (the value is zero when empty).
  long leadingPower() const { return exponent_ + static_cast<long>(digits_.size()) - 1; }

  bool negative_ = false;
  std::string digits_;  // '0'..'9', most significant first, no zeros at either end
  long exponent_ = 0;
};

// Reads a number: optional blanks, optional sign, digits, optional comma and
// digits, optional exponent (E or e, optional sign, digits), optional blanks.
// At least a digit or the comma must be present ("12," is 12, ",5" is 0,5,
// "," is 0). Anything else, a dot included, is not a number; nor is a value
// beyond the range of a double (1E400). A value too small for it (1E-400) is 0.
std::optional<Decimal> parseDecimal(std::string_view text);
// The same reading as a double, for comparisons.
std::optional<double> parseNumber(std::string_view text);

// Int(x × 10^d + 0.5) / 10^d on the exact decimal value, Int truncating toward
// zero: halves go up (0,575 -> 0,58 with d = 2; -2,5 -> -2 with d = 0).
Decimal roundDecimal(const Decimal& x, int decimals);

// Shortest text with up to 15 significant digits, comma separator, no
// trailing zeros: 12,5 -> "12,5", 8 -> "8". A value with more digits is
// rounded to 15 first, halves away from zero. Values from 10^15 up and below
// 10^-4 take an exponent ("1E+15", "1,5E-07") that the reader takes back.
std::string generalForm(const Decimal& x);
std::string generalForm(double x);

// Completes an amount text to two decimals: "7" -> "7,00", "12,5" -> "12,50",
// "" and "," -> "0,00", ",5" -> "0,50"; "3,125" stays as it is.
std::string completeTwoDecimals(std::string s);

}  // namespace zel
