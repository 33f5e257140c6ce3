#include "core/findinlist.h"

namespace zel {

FindStep findInList(const TextList& lines, std::string_view typed, std::string_view lastKey,
                    std::optional<size_t> selected) {
  FindStep step;
  if (lines.empty()) {
    step.lastKey = Text(lastKey);
    return step;
  }
  const size_t n = lines.size();
  const size_t current = selected && *selected < n ? *selected : 0;
  const Text key = lowerAscii(typed);
  step.outcome = FindStep::Outcome::NotFound;
  step.selected = current;
  if (!key.empty()) {
    // A new key is tested from line 0, line 0 first; the same key again from
    // the line after the selection, the selection itself last.
    const size_t first = key == lastKey ? current + 1 : 0;
    for (size_t i = 0; i < n; ++i) {
      const size_t line = (first + i) % n;
      if (containsLowered(lines[line], key)) {
        step.outcome = FindStep::Outcome::Found;
        step.selected = line;
        break;
      }
    }
  }
  step.lastKey = key;
  return step;
}

}  // namespace zel
