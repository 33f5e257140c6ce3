#pragma once
// The archive grids of the three export windows as data: headings, widths,
// the field each column shows, and the rows, streamed from the record file
// so that a large archive never sits in memory whole. Windows fill their
// grid from here and the office writers and zelvano-cli export it.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/progress.h"
#include "core/text.h"
#include "output/core/exporterror.h"
#include "store/layout.h"

namespace zel {

struct GridColumn {
  static constexpr int kRecordNumber = -1;

  const char* heading;  // as shown in row 0, Windows-1252, leading blank kept
  int width;            // pixels
  int field;            // layout field shown, or kRecordNumber
};

struct ExportGrid {
  const Layout* layout;
  const char* sheetName;  // worksheet name, also the name of the exported files
  std::vector<GridColumn> columns;
};

const ExportGrid& clientGrid();   // Anagrafica.pro, 26 columns
const ExportGrid& productGrid();  // Materiali.pro, 17 columns
const ExportGrid& supplyGrid();   // a supply file, 16 columns

// Hands out a grid's rows in order, the heading row first. `row` counts from
// 0 (the headings); `rows` is the number of rows in all, the same at every
// call. The cells are reused for the next row: copy what you keep.
using RowVisitor =
    std::function<void(size_t row, size_t rows, const std::vector<Text>& cells)>;

class GridRows {
 public:
  virtual ~GridRows() = default;
  virtual size_t columnCount() const = 0;
  virtual void visit(const RowVisitor& visitor) const = 0;
};

enum class ArchiveAccess {
  ForUpdate,  // as the windows open it: a missing archive is created empty
  ReadOnly,   // as the tools read it: nothing is created; missing means empty
  Existing,   // a supply file in its window: missing is SupplyGone
};

// Streams an archive as its export window shows it. With n > 0 records the
// grid has n + 1 rows: the headings, then record k in row k (its number in
// decimal, then its trimmed fields). With none the headings are not written
// and the grid is a heading row and one data row, every cell empty. A
// failure to read is a StoreError; `progress` may stop the stream with
// Cancelled.
void streamArchiveRows(const ExportGrid& grid, const std::filesystem::path& file,
                       ArchiveAccess access, const RowVisitor& visitor,
                       const Progress& progress = {});

// An archive file as grid rows; each visit reads the file anew.
class ArchiveRows : public GridRows {
 public:
  ArchiveRows(const ExportGrid& grid, std::filesystem::path file, ArchiveAccess access)
      : grid_(&grid), file_(std::move(file)), access_(access) {}
  size_t columnCount() const override { return grid_->columns.size(); }
  void visit(const RowVisitor& visitor) const override;

 private:
  const ExportGrid* grid_;
  std::filesystem::path file_;
  ArchiveAccess access_;
};

// Rows held in memory, such as the cells a window's grid shows.
class TableRows : public GridRows {
 public:
  explicit TableRows(std::vector<std::vector<Text>> rows) : rows_(std::move(rows)) {}
  size_t columnCount() const override;
  void visit(const RowVisitor& visitor) const override;

 private:
  std::vector<std::vector<Text>> rows_;
};

}  // namespace zel
