#pragma once
// Bringing clients or products in from a spreadsheet: a CSV table whose
// header row names its columns with the headings of the archive's Excel
// export (or, for the fields the export leaves out, with the field's name as
// dump prints it: Sottoscorta, File01...). Every row is checked before
// anything is written, and the rows go in all together or not at all.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "output/core/grids.h"
#include "store/layout.h"

namespace zel {

// The table cannot be imported at all (an unknown or repeated heading, no
// code column, a quote never closed). The text is for the user, in UTF-8.
class ImportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ImportOptions {
  std::optional<char> separator;  // else told by the header row
  bool update = false;            // a code already in the archive overwrites its record
  bool dryRun = false;            // check and report only
};

struct RowRefusal {
  size_t row;          // as the spreadsheet numbers it: the header is row 1
  std::string reason;  // UTF-8
};

struct ImportReport {
  size_t rows = 0;      // data rows read; rows with every cell blank are skipped
  size_t appended = 0;  // new records (or, refused or dry, those that would be)
  size_t updated = 0;   // records overwritten (or that would be)
  std::vector<RowRefusal> refused;  // in row order, one per row
  bool written = false;
};

// A table's bytes as text: UTF-8 when it starts with a byte order mark or
// is valid UTF-8 throughout, Windows-1252 otherwise; the mark is dropped.
struct TableText {
  std::string_view text;
  bool utf8 = false;
};
TableText tableText(std::string_view bytes);

// The field each column of the header row names, or -1 for a column without
// a heading (the record numbers of an export). ImportError for a heading
// that names no field of the grid, a field named twice, or no code column.
std::vector<int> headerFields(const ExportGrid& grid, const std::vector<std::string>& header, bool utf8);

// A data row as the card would store it, or the reasons it is refused:
// a cell with a character outside Windows-1252, a text longer than its
// field, a product's price, stock or threshold the card's boxes refuse, no
// code. A product is normalised as the card's save does.
struct CheckedRow {
  Record record;                     // the row's fields; the others empty
  std::vector<std::string> reasons;  // UTF-8; empty when the row is good
};
CheckedRow checkRow(const ExportGrid& grid, const std::vector<int>& fields,
                    const std::vector<std::string>& header, const std::vector<std::string>& cells, bool utf8);

// Imports the CSV `bytes` into `archive` (the grid's layout). A code already
// in the archive refuses its row, unless `update`: then the row overwrites
// the first record holding that code, keeping the fields it has no column
// for, as a card save does. Nothing is written when any row is refused or
// with `dryRun`; otherwise every change goes in at once, under the
// archive's exclusive lock, through a rewrite beside the archive named
// `tempName`. Throws ImportError for a table that cannot be read and
// StoreError when the archive cannot.
ImportReport importTable(const ExportGrid& grid, std::string_view bytes, const std::filesystem::path& archive,
                         const std::filesystem::path& tempName, const ImportOptions& options);

}  // namespace zel
