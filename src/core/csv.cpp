#include "core/csv.h"

namespace zel::csv {

char detectSeparator(std::string_view text) {
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;  // a doubled quote toggles twice
    else if (!quoted && (c == '\n' || c == '\r')) break;
    else if (!quoted && c == ';') return ';';
  }
  return ',';
}

bool Reader::atRowEnd() const { return pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r'; }

void Reader::skipRowEnd() {
  if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
  if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
}

bool Reader::readCell(std::string& cell) {
  cell.clear();
  if (pos_ < text_.size() && text_[pos_] == '"') {
    const size_t opened = row_;
    ++pos_;
    for (;;) {
      const size_t quote = text_.find('"', pos_);
      if (quote == std::string_view::npos)
        throw CsvError("row " + std::to_string(opened) + ": a quoted cell is never closed");
      cell.append(text_.substr(pos_, quote - pos_));
      pos_ = quote + 1;
      if (pos_ < text_.size() && text_[pos_] == '"') {
        cell += '"';
        ++pos_;
      } else {
        break;
      }
    }
    // Anything between the closing quote and the separator belongs to the
    // cell, as the spreadsheets read it.
  }
  while (!atRowEnd() && text_[pos_] != separator_) cell += text_[pos_++];
  if (atRowEnd()) return false;
  ++pos_;  // the separator
  return true;
}

bool Reader::next(std::vector<std::string>& cells) {
  if (pos_ >= text_.size()) return false;
  ++row_;
  size_t n = 0;
  for (bool more = true; more; ++n) {
    if (cells.size() <= n) cells.emplace_back();
    more = readCell(cells[n]);
  }
  cells.resize(n);
  skipRowEnd();
  return true;
}

}  // namespace zel::csv
