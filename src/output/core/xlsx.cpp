#include "output/core/xlsx.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "output/core/officelibs.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const std::string& what) {
  throw ExportError(ExportError::Reason::Failed, "cannot write the workbook: " + what);
}

// A cell's text for the library: UTF-8 without the NUL bytes that would end
// it early (a damaged field), which show as the replacement character.
std::string cellText(std::string_view text) {
  std::string utf8 = cp1252ToUtf8(text);
  for (size_t at = utf8.find('\0'); at != std::string::npos; at = utf8.find('\0', at))
    utf8.replace(at, 1, "\xEF\xBF\xBD");
  return utf8;
}

// Characters in the longest line of a Windows-1252 text.
size_t longestLine(std::string_view text) {
  size_t longest = 0;
  size_t current = 0;
  for (const char ch : text) {
    if (ch == '\r' || ch == '\n') current = 0;
    else longest = std::max(longest, ++current);
  }
  return longest;
}

// Column width in Excel's units (the width of a digit) for the longest text
// of a column, as Excel's own fitting gives it for its default font: letters
// run a little wider than digits, bold a little wider still.
double fittedWidth(size_t characters, bool bold) {
  const double width = static_cast<double>(characters) * (bold ? 1.2 : 1.1) + 1.0;
  return std::min(width, 255.0);
}

// A workbook in constant-memory mode: each row goes to disk as the next one
// starts, so the rows must come in order.
class Workbook {
 public:
  Workbook(const fs::path& file, std::string_view sheetName) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    workbook_ = lib_.workbook_new_opt(file.c_str(), &options);
    if (workbook_ == nullptr) fail("the library cannot start a workbook");
    sheet_ = lib_.workbook_add_worksheet(workbook_, cp1252ToUtf8(sheetName).c_str());
    if (sheet_ == nullptr) {
      discard();  // the destructor does not run for a half-built object
      fail("invalid sheet name");
    }
    text_ = lib_.workbook_add_format(workbook_);
    bold_ = lib_.workbook_add_format(workbook_);
    lib_.format_set_num_format(text_, "@");
    lib_.format_set_num_format(bold_, "@");
    lib_.format_set_bold(bold_);
  }
  ~Workbook() { discard(); }
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  // An empty text still writes a (blank) cell, so it carries the format.
  void write(size_t row, size_t column, std::string_view text, bool bold) {
    check(lib_.worksheet_write_string(sheet_, static_cast<lxw_row_t>(row),
                                      static_cast<lxw_col_t>(column), cellText(text).c_str(),
                                      bold ? bold_ : text_));
  }
  // The library keeps column widths apart from the rows, so they may be set
  // after the rows have streamed by.
  void setWidth(size_t column, double width) {
    const auto c = static_cast<lxw_col_t>(column);
    check(lib_.worksheet_set_column(sheet_, c, c, width, nullptr));
  }
  void selectA1() { lib_.worksheet_set_selection(sheet_, 0, 0, 0, 0); }
  void close() {
    const lxw_error error = lib_.workbook_close(workbook_);  // frees the workbook, even on failure
    workbook_ = nullptr;
    check(error);
  }

 private:
  // A workbook given up (a failure, a cancel) is freed without writing it;
  // the library leaves the rows' temporary file open then, so close it.
  void discard() {
    if (workbook_ == nullptr) return;
    if (sheet_ != nullptr && sheet_->optimize_tmpfile != nullptr) {
      std::fclose(sheet_->optimize_tmpfile);
      sheet_->optimize_tmpfile = nullptr;
    }
    lib_.lxw_workbook_free(workbook_);
    workbook_ = nullptr;
  }

  void check(lxw_error error) const {
    if (error != LXW_NO_ERROR) fail(lib_.lxw_strerror(error));
  }

  const XlsxLibrary& lib_ = xlsxLibrary();
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  lxw_format* text_ = nullptr;
  lxw_format* bold_ = nullptr;
};

}  // namespace

fs::path writeGridWorkbook(const GridRows& rows, std::string_view sheetName, const Destination& to,
                           const Progress& progress) {
  PendingFile file(to, ".xlsx");
  const size_t columns = rows.columnCount();
  {
    Workbook book(file.path(), sheetName);
    // Widths are known only once every row has been seen: one pass, keeping
    // the longest text of each column.
    std::vector<size_t> longest(columns, 0);
    std::vector<bool> boldLongest(columns, false);
    size_t rowsInAll = 0;
    rows.visit([&](size_t r, size_t total, const std::vector<Text>& cells) {
      progress.step(r, total);
      rowsInAll = total;
      for (size_t c = 0; c < columns; ++c) {
        const Text text = c < cells.size() ? trim(cells[c]) : Text();
        const bool bold = r == 0 && c > 0;  // the headings; A1 stays plain
        book.write(r, c, text, bold);
        const size_t length = longestLine(text);
        if (length > longest[c]) {
          longest[c] = length;
          boldLongest[c] = bold;
        }
      }
    });
    for (size_t c = 0; c < columns; ++c)
      if (longest[c] > 0) book.setWidth(c, fittedWidth(longest[c], boldLongest[c]));
    book.selectA1();
    book.close();
    progress.step(rowsInAll, rowsInAll);
  }
  return file.publish();
}

}  // namespace zel
