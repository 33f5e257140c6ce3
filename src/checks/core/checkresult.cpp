#include "checks/core/checkresult.h"

namespace zel {

bool isDigitBoxKey(char32_t key) {
  return (key >= U'0' && key <= U'9') || key == U'\b' || key == U'\r';
}

Text typedIdentifier(std::string_view utf8) { return fitsCp1252(utf8) ? utf8ToCp1252(utf8) : Text(); }

}  // namespace zel
