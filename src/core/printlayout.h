#pragma once
// The printed list: where each text of a printed result list goes, page by
// page, in printer device units. A renderer draws the items as they are; all
// the arithmetic lives here.
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "core/text.h"
#include "core/textlist.h"

namespace zel {

inline constexpr const char* kPrintFont = "Courier New";  // black, regular

// One text to draw: its top-left corner in device units from the top-left of
// the printable area, and its font size in points.
struct PrintItem {
  int x = 0;
  int y = 0;
  int pointSize = 0;
  Text text;  // Windows-1252
};
using PrintPage = std::vector<PrintItem>;

struct PrintTotal {
  Text label;   // "TOTALE IMPORTI:  € " and the like
  Text amount;  // the total as the window shows it
};

struct PrintRequest {
  TextList entries;           // the list's lines, in list order
  Text title;
  size_t separatorLength = 0;        // hyphens in each separator
  std::optional<PrintTotal> total;   // the two lists with a total
  Text stamp;                        // printStamp() of the moment of printing
  int dpi = 0;                       // the printer's vertical resolution
  int pageHeight = 0;                // height of the printable area, device units
};

// h(N): the character height at N points, N × dpi / 72 rounded to the nearest
// whole device unit.
int charHeight(int points, int dpi);

// The pages of a printed list: a framed title on the first page only, one
// double-spaced entry per line (a new page, without header, when an entry
// would start within 3 × h(8) of the bottom; its first entry at 2 × h(8)),
// then the closing: 20 underscores and the stamp, or the framed total and
// the stamp. The closing moves to a new page of its own when its last line
// would fall below the printable area. No entries: no pages, and the window
// says there is nothing to print. dpi and pageHeight must be positive
// (std::invalid_argument otherwise).
std::vector<PrintPage> layoutPrintedList(const PrintRequest& request);

// The seven lists that can be printed.
enum class PrintedList {
  ClientSearch, ProductSearch, UnderStock, ProductImport, SupplySearch, SupplySheet,
  PendingPayments
};

struct PrintVariant {
  Text question;                  // asked before printing (Yes/No)
  Text title;                     // the title line
  size_t separatorLength = 0;
  std::optional<Text> totalLabel; // the lists with a total
  bool taskModal = true;          // the question's box; only the supply sheet's is not
};

// The texts of one list. The supply lists take their title from the open
// supply's name, of which surrounding blanks are removed.
PrintVariant printVariant(PrintedList list, std::string_view supplyName = {});

struct Timestamp {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
// "Stampa eseguita in data dd/mm/yyyy alle ore hh:mm:ss".
Text printStamp(const Timestamp& when);

}  // namespace zel
