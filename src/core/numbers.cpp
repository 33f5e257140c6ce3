#include "core/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>
#include <vector>

#include "core/text.h"

namespace zel {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The reader's range is a double's: beyond 10^308 is not a number, below
// 10^-324 is zero.
constexpr long kLargestPower = 308;
constexpr long kSmallestPower = -324;
// An exponent written with more digits than this is out of range anyway.
constexpr long kExponentCeiling = 100000000;

// Magnitudes as digit strings without leading zeros, of the same exponent.
int compareDigits(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  const int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

std::string addDigits(const std::string& a, const std::string& b) {
  std::string out;
  out.reserve(std::max(a.size(), b.size()) + 1);
  int carry = 0;
  for (size_t i = 0; i < a.size() || i < b.size() || carry; ++i) {
    int d = carry;
    if (i < a.size()) d += a[a.size() - 1 - i] - '0';
    if (i < b.size()) d += b[b.size() - 1 - i] - '0';
    out += static_cast<char>('0' + d % 10);
    carry = d / 10;
  }
  std::reverse(out.begin(), out.end());
  return out;
}

// a - b for a >= b.
std::string subtractDigits(const std::string& a, const std::string& b) {
  std::string out;
  out.reserve(a.size());
  int borrow = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    int d = a[a.size() - 1 - i] - '0' - borrow;
    if (i < b.size()) d -= b[b.size() - 1 - i] - '0';
    borrow = d < 0;
    out += static_cast<char>('0' + (d + 10) % 10);
  }
  std::reverse(out.begin(), out.end());
  return out;
}

std::string multiplyDigits(const std::string& a, const std::string& b) {
  std::vector<int> sum(a.size() + b.size(), 0);
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = 0; j < b.size(); ++j) sum[i + j + 1] += (a[i] - '0') * (b[j] - '0');
  for (size_t k = sum.size() - 1; k > 0; --k) {
    sum[k - 1] += sum[k] / 10;
    sum[k] %= 10;
  }
  std::string out;
  out.reserve(sum.size());
  for (int d : sum) out += static_cast<char>('0' + d);
  return out;
}

// Adds one to a string of digits in place; true when it carried out of the
// leading digit (the string is then all zeros).
bool incrementDigits(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

// The general form shows at most this many significant digits.
constexpr size_t kSignificant = 15;

// Rounds a coefficient to kSignificant digits, halves away from zero,
// moving the exponent to keep the value's scale.
void roundToSignificant(std::string& digits, long& exponent) {
  if (digits.size() <= kSignificant) return;
  const bool up = digits[kSignificant] >= '5';
  exponent += static_cast<long>(digits.size() - kSignificant);
  digits.resize(kSignificant);
  if (up && incrementDigits(digits)) {
    digits = "1";
    exponent += static_cast<long>(kSignificant);
  }
}

}  // namespace

Decimal::Decimal(bool negative, std::string digits, long exponent)
    : negative_(negative), digits_(std::move(digits)), exponent_(exponent) {
  normalise();
}

void Decimal::normalise() {
  const size_t first = digits_.find_first_not_of('0');
  if (first == std::string::npos) {
    *this = Decimal();
    return;
  }
  const size_t last = digits_.find_last_not_of('0');
  exponent_ += static_cast<long>(digits_.size() - 1 - last);
  digits_ = digits_.substr(first, last - first + 1);
}

Decimal Decimal::fromInteger(long long value) {
  const bool negative = value < 0;
  // Through unsigned so that the most negative value has a magnitude too.
  const unsigned long long magnitude =
      negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  return Decimal(negative, std::to_string(magnitude), 0);
}

double Decimal::toDouble() const {
  if (isZero()) return 0;
  const std::string text = digits_ + "e" + std::to_string(exponent_);
  double v = 0;
  // from_chars ignores the process locale, unlike strtod.
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  (void)end;
  if (ec == std::errc::result_out_of_range) v = exponent_ > 0 ? HUGE_VAL : 0.0;
  return negative_ ? -v : v;
}

int compare(const Decimal& a, const Decimal& b) {
  if (a.negative_ != b.negative_) return a.negative_ ? -1 : 1;
  const int sign = a.negative_ ? -1 : 1;
  if (a.isZero() || b.isZero()) {
    if (a.isZero() && b.isZero()) return 0;
    return a.isZero() ? -sign : sign;
  }
  if (a.leadingPower() != b.leadingPower()) return a.leadingPower() < b.leadingPower() ? -sign : sign;
  // Same leading power: the digits decide, a shorter coefficient being
  // followed by zeros.
  const int c = a.digits_.compare(b.digits_);
  return c == 0 ? 0 : (c < 0 ? -sign : sign);
}

Decimal operator+(const Decimal& a, const Decimal& b) {
  if (a.isZero()) return b;
  if (b.isZero()) return a;
  const long e = std::min(a.exponent_, b.exponent_);
  const std::string x = a.digits_ + std::string(static_cast<size_t>(a.exponent_ - e), '0');
  const std::string y = b.digits_ + std::string(static_cast<size_t>(b.exponent_ - e), '0');
  if (a.negative_ == b.negative_) return Decimal(a.negative_, addDigits(x, y), e);
  if (compareDigits(x, y) >= 0) return Decimal(a.negative_, subtractDigits(x, y), e);
  return Decimal(b.negative_, subtractDigits(y, x), e);
}

Decimal operator-(const Decimal& a, const Decimal& b) {
  Decimal negated = b;
  if (!negated.isZero()) negated.negative_ = !negated.negative_;
  return a + negated;
}

Decimal operator*(const Decimal& a, const Decimal& b) {
  if (a.isZero() || b.isZero()) return Decimal();
  return Decimal(a.negative_ != b.negative_, multiplyDigits(a.digits_, b.digits_), a.exponent_ + b.exponent_);
}

std::optional<Decimal> parseDecimal(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n && s[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::string digits;
  long exponent = 0;
  bool mantissa = false;
  while (i < n && isDigit(s[i])) {
    digits += s[i++];
    mantissa = true;
  }
  if (i < n && s[i] == ',') {
    mantissa = true;  // a lone comma counts as a number (zero)
    ++i;
    while (i < n && isDigit(s[i])) {
      digits += s[i++];
      --exponent;
    }
  }
  if (!mantissa) return std::nullopt;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) negativeExponent = s[i++] == '-';
    if (i >= n || !isDigit(s[i])) return std::nullopt;
    long written = 0;
    while (i < n && isDigit(s[i])) {
      if (written < kExponentCeiling) written = written * 10 + (s[i] - '0');
      ++i;
    }
    exponent += negativeExponent ? -written : written;
  }
  while (i < n && s[i] == ' ') ++i;
  if (i != n) return std::nullopt;
  Decimal value(negative, std::move(digits), exponent);
  if (value.isZero()) return value;
  if (value.leadingPower() > kLargestPower) return std::nullopt;
  if (value.leadingPower() < kSmallestPower) return Decimal();
  // At the top of the range both the value and the form it is shown in (15
  // digits, which may round up) must be doubles, or a number shown could not
  // be read back.
  if (value.leadingPower() == kLargestPower) {
    Decimal shown = value;
    roundToSignificant(shown.digits_, shown.exponent_);
    shown.normalise();
    if (!std::isfinite(value.toDouble()) || !std::isfinite(shown.toDouble())) return std::nullopt;
  }
  return value;
}

std::optional<double> parseNumber(std::string_view text) {
  const std::optional<Decimal> d = parseDecimal(text);
  if (!d) return std::nullopt;
  const double v = d->toDouble();
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

Decimal roundDecimal(const Decimal& x, int decimals) {
  if (x.isZero()) return x;
  // x × 10^d moves the exponent; + 0,5; then Int cuts the fraction off.
  Decimal scaled = x;
  scaled.exponent_ += decimals;
  Decimal y = scaled + Decimal(false, "5", -1);
  if (y.exponent_ < 0) {
    const long whole = static_cast<long>(y.digits_.size()) + y.exponent_;
    if (whole <= 0) return Decimal();
    y = Decimal(y.negative_, y.digits_.substr(0, static_cast<size_t>(whole)), 0);
  }
  if (!y.isZero()) y.exponent_ -= decimals;
  return y;
}

std::string generalForm(const Decimal& x) {
  if (x.isZero()) return "0";
  std::string digits = x.digits_;
  long exponent = x.exponent_;
  if (digits.size() > kSignificant) {
    roundToSignificant(digits, exponent);
    const Decimal rounded(false, digits, exponent);
    digits = rounded.digits_;
    exponent = rounded.exponent_;
  }
  const long power = exponent + static_cast<long>(digits.size()) - 1;
  std::string out = x.negative_ ? "-" : "";
  if (power < -4 || power >= static_cast<long>(kSignificant)) {
    out += digits[0];
    if (digits.size() > 1) out += "," + digits.substr(1);
    const std::string p = std::to_string(power < 0 ? -power : power);
    out += power < 0 ? "E-" : "E+";
    if (p.size() < 2) out += '0';
    return out + p;
  }
  if (exponent >= 0) return out + digits + std::string(static_cast<size_t>(exponent), '0');
  const long whole = static_cast<long>(digits.size()) + exponent;
  if (whole > 0) return out + digits.substr(0, static_cast<size_t>(whole)) + "," + digits.substr(static_cast<size_t>(whole));
  return out + "0," + std::string(static_cast<size_t>(-whole), '0') + digits;
}

std::string generalForm(double x) {
  if (x == 0) return "0";  // also turns -0 into 0
  char buf[64];
  // to_chars is the C-locale "%.15g", whatever locale the process has set.
  const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
  std::string s(buf, res.ptr);
  for (char& c : s)
    if (c == '.') c = ',';
  const auto e = s.find('e');
  if (e != std::string::npos) s[e] = 'E';
  return s;
}

std::string completeTwoDecimals(std::string s) {
  if (s.find(',') == std::string::npos) s += ",00";
  if (trim(s).empty()) s = "0,00";
  if (trim(s) == ",") s = "0,00";
  if (!s.empty() && s.front() == ',') s = "0" + trim(s);
  if (!s.empty() && s.back() == ',') s = trim(s) + "00";
  if (s.size() >= 2 && s[s.size() - 2] == ',' && isDigit(s.back())) s += "0";
  return s;
}

}  // namespace zel
