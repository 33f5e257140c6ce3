#pragma once
// Product record rules shared by the product card and the import: the
// normalisation before a product is stored, and the rules of the card's
// price, stock and threshold boxes (which keys they take, and how their text
// is written back when the user leaves them).
#include <string_view>

#include "store/fields.h"
#include "store/layout.h"

namespace zel {

// Before a product is stored: an empty price becomes "0,00", empty stock and
// threshold "0", and stock and threshold are rounded to whole pieces (7,5 is
// stored as 8). Returns false, leaving the record as it was, when the stock
// or the threshold is not a number: such a record must not be stored.
bool normaliseProduct(Record& product);

// The rules of the product card's price, stock and threshold boxes.
namespace productcard {

// The highest value the boxes take while typing.
inline constexpr long long kValueLimit = 30000000;

// What a box does with one typed key.
enum class Key {
  Accept,         // the key goes into the box
  BadCharacter,   // refused: "carattere non valido"
  ValueTooLarge,  // refused, and the box is reset: its value is above the limit
};

// The key rule of the three boxes. `current` is the text in the box before
// the key, `key` the typed character (Backspace is U+0008). The value check
// comes first and applies to every key, Backspace included; then Backspace
// and the digits pass, and the comma only while the box holds none. A box
// text that is not a number is not checked against the limit.
Key numberBoxKey(std::string_view current, char32_t key);

// A paste is a run of typed keys: the value check of the box as it is comes
// first, as for any key; then every pasted character must be a digit or a
// comma, and what the paste keeps of the box (`kept`, its selection taken
// out) and the pasted text may hold one comma at most between them.
Key pasteKey(std::string_view current, std::string_view kept, std::string_view pasted);

// Whether the box would take `text` typed into it key by key and keep it:
// blanks around it aside, digits and at most one comma, and a value not above
// the limit (any further key would reset the box). An empty text is taken.
// The import holds a spreadsheet's price, stock and threshold to this.
bool takesText(std::string_view text);

// The price box's text when the user leaves it: rounded to four decimals and
// completed to at least two ("12" -> "12,00", "12,5" -> "12,50",
// "12,34567" -> "12,3457"); empty or not a number -> "0,00".
Text priceOnExit(std::string_view text);

// The stock or threshold box's text when the user leaves it: rounded to whole
// pieces ("7,5" -> "8"); empty or not a number -> "0".
Text piecesOnExit(std::string_view text);

}  // namespace productcard

}  // namespace zel
