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

// What a check shows for a typed text (UTF-8), `result` being the check's
// result of a Windows-1252 text. A character the code page cannot hold
// belongs to no identifier: turned into '?' it would count, and a codice
// fiscale would count it as 0 and could pass. Such a character still counts
// as one character, so the length rule speaks as for any other text of that
// length; a text of the right length holding one is not valid.
CheckResult checkTyped(CheckResult (*result)(std::string_view), std::string_view utf8);

}  // namespace zel
