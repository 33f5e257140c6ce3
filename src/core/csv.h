#pragma once
// Reading a table that a spreadsheet saved as CSV (LibreOffice Calc, Excel):
// cells split by a separator, a cell in double quotes may hold separators,
// line breaks and doubled quotes. The reading is byte by byte and the
// separator and the quote are ASCII, so it serves UTF-8 and Windows-1252
// alike; the bytes of each cell are handed on as they are.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zel::csv {

// The file cannot be read as a table (a quote opened and never closed).
class CsvError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The separator of a file saved with either of the two a spreadsheet offers:
// ';' when the first row holds one outside quotes, else ','. (An Italian
// spreadsheet saves with ';', since the comma is its decimal separator.)
char detectSeparator(std::string_view text);

class Reader {
 public:
  Reader(std::string_view text, char separator) : text_(text), separator_(separator) {}

  // Reads the next row into `cells` (reusing their storage). A row ends at a
  // line break (CR LF, LF or CR) outside quotes; the last row needs none.
  // Returns false at the end of the text. Throws CsvError, naming the row,
  // when a quote is never closed.
  bool next(std::vector<std::string>& cells);
  // The number of the row last read, from 1: the row a spreadsheet shows.
  size_t row() const { return row_; }

 private:
  // Reads one cell from pos_; returns whether the row goes on after it.
  bool readCell(std::string& cell);
  bool atRowEnd() const;
  void skipRowEnd();

  std::string_view text_;
  char separator_;
  size_t pos_ = 0;
  size_t row_ = 0;
};

}  // namespace zel::csv
