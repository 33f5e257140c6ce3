#include "core/numbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/text.h"

namespace zel {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> parseNumber(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n && s[i] == ' ') ++i;
  std::string c_locale;  // the same number in the C locale's notation
  if (i < n && (s[i] == '+' || s[i] == '-')) c_locale += s[i++];
  bool mantissa = false;
  while (i < n && isDigit(s[i])) { c_locale += s[i++]; mantissa = true; }
  if (i < n && s[i] == ',') {
    mantissa = true;  // a lone comma counts as a number (zero)
    c_locale += '.';
    ++i;
    while (i < n && isDigit(s[i])) c_locale += s[i++];
  }
  if (!mantissa) return std::nullopt;
  bool negativeExponent = false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    c_locale += 'e';
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
      negativeExponent = s[i] == '-';
      c_locale += s[i++];
    }
    if (i >= n || !isDigit(s[i])) return std::nullopt;
    while (i < n && isDigit(s[i])) c_locale += s[i++];
  }
  while (i < n && s[i] == ' ') ++i;
  if (i != n) return std::nullopt;
  // The sign is read here: from_chars takes neither '+' nor a lone '.'.
  std::string_view t = c_locale;
  bool negative = false;
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  bool hasDigit = false;
  for (char c : t) {
    if (c == 'e') break;
    if (isDigit(c)) { hasDigit = true; break; }
  }
  if (!hasDigit) return 0.0;  // "," and "-," are zero
  // from_chars ignores the process locale, unlike strtod: a toolkit that sets
  // a locale with a comma separator must not change how numbers read.
  double v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec == std::errc::result_out_of_range) {
    if (!negativeExponent) return std::nullopt;  // too large for a double
    v = 0;                                       // too small: zero
  } else if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) {
    return std::nullopt;
  }
  return negative ? -v : v;
}

double roundDecimal(double x, int decimals) {
  double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  return std::trunc(x * scale + 0.5) / scale;
}

std::string generalForm(double x) {
  if (x == 0) return "0";  // also turns -0 into 0
  char buf[64];
  // to_chars is the C-locale "%.15g", whatever locale the process has set.
  const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
  std::string s(buf, res.ptr);
  // %g may use an exponent for very large or small values; keep it (with a
  // comma) as the number reader accepts it back.
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
