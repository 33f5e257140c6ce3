#pragma once
// Texts derived from supply item records, shared by every list of items.
#include <filesystem>
#include <optional>
#include <vector>

#include "core/numbers.h"
#include "core/textlist.h"
#include "store/fields.h"
#include "store/layout.h"

namespace zel {

// t followed by spaces, or cut, to exactly w characters.
Text padTo(std::string_view t, size_t w);

// The fixed-column line of one item (Windows-1252; the euro sign is 0x80).
Text itemLine(const Record& item);
// The same line straight from a stored item (a supply file's raw record),
// into `out`: a scan reuses one buffer and decodes nothing else.
void storedItemLine(const uint8_t* item, Text& out);
void storedItemLine(const uint8_t* item, TextList::Line& out);
// The fields the line is made of.
const std::vector<size_t>& itemLineFields();

// True when the payment state, upper-cased (ASCII) and trimmed, is "IN SOSPESO".
bool isPending(const Record& item);
bool isStoredPending(const uint8_t* item);

// Sum of the Importo values as a two-decimal text ("0,00" for none). A value
// that is not a number counts as zero.
Text totalOfAmounts(const std::vector<Record>& items);
// A sum of amounts as the totals show it: through its general form, rounded
// to two decimals, completed.
Text totalText(const Decimal& sum);
// Two-decimal completion of an amount text. A value so large that its
// general form needs an exponent ("9E+16") gets its decimals in the mantissa
// ("9,00E+16"), so that the text still reads back as a number.
Text completeAmount(std::string_view s);

// The record number behind a chosen list line: the last record whose item
// line equals it (both trimmed, case-sensitive), or nothing.
std::optional<size_t> recordOfLine(const std::vector<Record>& items, std::string_view line);

}  // namespace zel
