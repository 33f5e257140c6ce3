#pragma once
// Find in list: the "Trova" box beside a result list steps the selection to
// the next line that contains the typed text, wrapping at the end, and starts
// again from the first line whenever the text changes.
#include <optional>
#include <string_view>
#include <vector>

#include "core/text.h"
#include "core/textlist.h"

namespace zel {

struct FindStep {
  enum class Outcome {
    EmptyList,  // nothing to search: the window says so; nothing else changes
    Found,      // `selected` is the line found
    NotFound,   // the selection stays (the first line when there was none)
  };
  Outcome outcome = Outcome::EmptyList;
  std::optional<size_t> selected;  // the selection after the step
  Text lastKey;                    // the key to hand in at the next step
};

// One press of Trova. `typed` is the find box's text as typed (Windows-1252,
// not trimmed); `lastKey` the key of the previous press (empty at first);
// `selected` the selected line, if any. The key is the typed text with A-Z
// lower-cased. With no selection the first line is selected. A key that
// differs from the last one tests the lines from the first; the same key
// tests the lines after the selected one, wrapping round, the selected line
// last. A line passes when the key occurs in it, A-Z lower-cased; an empty
// key never passes.
FindStep findInList(const TextList& lines, std::string_view typed, std::string_view lastKey,
                    std::optional<size_t> selected);

}  // namespace zel
