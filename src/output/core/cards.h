#pragma once
// The card documents: one client card, product card or supply item as a
// title and a table of labels and values, built from the texts of the card's
// controls as they stand (saved or not).
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "core/text.h"
#include "store/layout.h"

namespace zel {

struct CardDocument {
  Text title;
  // Under the title, an empty centred bold paragraph (the product card's).
  bool spacer = false;
  std::vector<std::pair<Text, Text>> rows;  // label, value; all Windows-1252
  Text fileName;  // what the exported file is named after, before it is made safe
};

// The text of the card control that edits a record field, by field name
// ("Codice"). The card documents trim what it gives.
using FieldText = std::function<Text(std::string_view field)>;

CardDocument clientCardDocument(const FieldText& text);
CardDocument productCardDocument(const FieldText& text);
// The title of a supply item is the supply's name (the sheet's title panel).
CardDocument supplyCardDocument(std::string_view supplyName, const FieldText& text);

// The field texts of a card that holds `record`, for callers that have the
// record rather than the controls. Unknown fields give "".
FieldText recordFields(const Layout& layout, const Record& record);

}  // namespace zel
