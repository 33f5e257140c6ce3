#include "checks/core/checkresult.h"

namespace zel {

bool isDigitBoxKey(char32_t key) {
  return (key >= U'0' && key <= U'9') || key == U'\b' || key == U'\r';
}

CheckResult checkTyped(CheckResult (*result)(std::string_view), std::string_view utf8) {
  const Text converted = utf8ToCp1252(utf8);  // one byte per character
  const CheckResult asConverted = result(converted);
  if (fitsCp1252(utf8) || asConverted.refused) return asConverted;
  // The not-valid result for this length: that of a text of control
  // characters, which no check takes for a letter or a digit.
  return result(Text(converted.size(), '\x1A'));
}

}  // namespace zel
