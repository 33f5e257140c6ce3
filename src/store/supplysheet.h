#pragma once
// The supply sheet's rules that need no window: defaults and formatting of
// the three number boxes, their key filter, the amount calculation, and the
// item list with its total read straight from a supply file.
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "core/progress.h"
#include "core/text.h"
#include "core/textlist.h"
#include "store/layout.h"
#include "store/recordfile.h"
#include "store/supplyitem.h"

namespace zel {
namespace supplysheet {

inline constexpr const char* kDefaultQuantity = "1";
inline constexpr const char* kDefaultMoney = "0,00";  // price and amount
inline constexpr const char* kPaid = "Saldato";
inline constexpr const char* kPending = "In sospeso";
// A number box whose value is above this takes no further key.
inline constexpr long long kNumberBoxLimit = 30000000;

// The price and amount boxes on leaving: rounded to four decimals, completed
// to two ("7" -> "7,00", "0,125" stays, "1,99999" -> "2,00"); an empty or
// unreadable text becomes "0,00".
Text priceOnExit(std::string_view typed);
// The quantity box on leaving: rounded to four decimals without trailing
// zeros ("2,50" -> "2,5"); empty, "," , 0 or unreadable become "1".
Text quantityOnExit(std::string_view typed);

// What a number box does with a typed character (Backspace and Enter are
// handled before): take it, drop it, or drop it and go back to the default.
enum class NumberKey { Accept, Discard, Reset };
NumberKey numberKey(std::string_view current, char32_t typed);
// Whether a number box takes an edit that did not come key by key through
// numberKey (a paste, a drop): the new text must be one the keys could have
// written (digits and at most one comma), or the old text with characters
// taken away (a loaded record may hold anything, and deleting always works).
bool acceptsEdit(std::string_view before, std::string_view after);

// Calculate: amount = quantity × price, computed exactly in decimal, then
// rounded to two decimals and completed. Blank boxes take their defaults
// first. When the quantity or the price cannot be read, `valid` is false and
// the three texts are the defaults. When the amount would not fit its
// 16-character field, `valid` is false, `tooLarge` true and the texts stay as
// they were given: such an item must not be stored at all.
struct Calculation {
  Text quantity;
  Text price;
  Text amount;
  bool valid = true;
  bool tooLarge = false;
};
Calculation calculate(std::string_view quantity, std::string_view price, std::string_view amount);

// The item list of a supply file, as the sheet shows it: one item line per
// record in file order and the total of the amounts. Reading stops at the
// first record whose amount cannot be read, or at a read failure; the lines
// gathered so far stay and the total is then the running sum in general form.
struct ItemList {
  TextList lines;
  Decimal sum;
  bool complete = false;  // every record was listed and summed
  Text problem;           // why an incomplete list stopped
  Text total() const;     // completed total, or the running sum when incomplete
};
// Which items a list shows: every item (the sheet), or the pending ones only
// (the pending-payments list).
enum class Items { All, Pending };
// Opens the file as `access` says (the windows: as an existing file). A file
// that cannot be opened gives an empty, incomplete list; the only exceptions
// are Cancelled, when `progress` is asked to stop, and SupplyGone, when the
// file is missing and `access` is Existing.
ItemList listItems(const std::filesystem::path& supplyFile, Items which = Items::All,
                   Access access = Access::Update, const Progress& progress = {});

// The record behind a chosen line: the last record whose item line equals it
// (both trimmed), with its number, reading the file once (an existing file).
// Throws StoreError when the file cannot be read, SupplyGone when it is
// missing.
struct FoundItem {
  size_t number = 0;
  Record record;
};
std::optional<FoundItem> findRecordOfLine(const std::filesystem::path& supplyFile, std::string_view line);

}  // namespace supplysheet
}  // namespace zel
