#include "checks/core/checkresult.h"

namespace zel {

bool isDigitBoxKey(char32_t key) {
  return (key >= U'0' && key <= U'9') || key == U'\b' || key == U'\r';
}

}  // namespace zel
