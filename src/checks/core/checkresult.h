#pragma once
// What a checker window shows when "Controlla" is pressed, as data: the
// windows show it through the services seam and zelvano-cli prints it, so the
// two always agree. Every text is Windows-1252.
#include <string_view>

#include "core/text.h"

namespace zel {

enum class CheckIcon { None, Information, Warning };

struct CheckResult {
  bool valid = false;
  // True when the text was not checked at all because it has the wrong
  // length: the window shows the message and stays open.
  bool refused = false;
  // Empty for a plain message (application title as caption, no icon, OK);
  // otherwise the title of a task-modal box with `icon` and an OK button.
  Text title;
  Text text;
  CheckIcon icon = CheckIcon::None;

  bool plain() const { return title.empty(); }
};

// The partita IVA and credit card boxes take only digits, Backspace and
// Enter; any other key is discarded with this plain message.
inline constexpr const char* kDigitsOnlyMessage =
    "Attenzione: carattere non valido. Digitare solo valori numerici.";
bool isDigitBoxKey(char32_t key);

// The Windows-1252 text a check reads from a typed text (UTF-8). A character
// the code page cannot hold belongs to no identifier: converted it would
// become '?', which a codice fiscale counts as 0, and the code could pass. A
// text holding one is read as no text at all, which no check accepts and
// which the windows refuse for its length.
Text typedIdentifier(std::string_view utf8);

}  // namespace zel
