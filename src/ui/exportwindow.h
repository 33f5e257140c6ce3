#pragma once
// An archive export window: the whole archive in a grid `grdRecords` (a
// fixed heading row, a fixed column of record numbers, then one column per
// exported field), filled afresh at every showing, with the commands that
// export the grid, as shown, to Word or Excel. The three export windows are
// this one window with their own caption, grid, archive and help topic.
#include <QAbstractTableModel>
#include <QGroupBox>
#include <QLabel>
#include <QTableView>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"
#include "output/core/grids.h"
#include "ui/base/helptopic.h"
#include "ui/dialog.h"
#include "ui/kit.h"

namespace zel {

// The rows of an archive as the grid shows them. The texts are kept as the
// file holds them (Windows-1252), all in one buffer, and converted only
// when a cell is painted: a large archive costs no object per cell and is
// not held twice over in memory.
class ArchiveGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // The grid's first column (the record numbers) is the vertical header; the
  // model's columns are the fields after it.
  ArchiveGridModel(const ExportGrid& grid, QObject* parent = nullptr);

  // Reads every record of the file (opened for update: a missing archive is
  // created empty) as the bridge streams it: an empty archive is one empty
  // row under empty headings. A failure keeps the rows read so far; a stop
  // asked through `progress` leaves the grid empty and throws Cancelled.
  // A supply gone (SupplyGone) reaches the caller; other failures leave
  // the rows read so far.
  void fill(const std::filesystem::path& archive, const Progress& progress = {},
            ArchiveAccess access = ArchiveAccess::ForUpdate);
  void clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  const ExportGrid& grid() const { return grid_; }
  // The text of a data cell (row and column from 0, column 0 the first field).
  QString cellText(int row, int column) const;

  // The grid as the office writers take it: the heading row, then every
  // row, each cell exactly as shown. Valid while the model is unchanged.
  class Rows : public GridRows {
   public:
    explicit Rows(const ArchiveGridModel& model) : model_(model) {}
    size_t columnCount() const override { return model_.columns(); }
    void visit(const RowVisitor& visitor) const override;

   private:
    const ArchiveGridModel& model_;
  };
  Rows rows() const { return Rows(*this); }

 private:
  size_t columns() const { return grid_.columns.size(); }
  size_t dataRows() const { return ends_.size() / columns(); }
  // Cell `column` (0 the record number) of data row `row`.
  std::string_view cell(size_t row, size_t column) const;

  const ExportGrid& grid_;
  std::vector<Text> headings_;  // row 0, the record numbers' corner first
  Text cells_;                  // every cell of the data rows, one after the other
  std::vector<size_t> ends_;    // where each cell ends in cells_
};

class ExportWindow : public Dialog {
  Q_OBJECT
 public:
  // Shows the window modally; the grid is filled as it appears.
  int showModal();

  // The commands; each picture and its label run the same one.
  void imgWordMouseUp();   // the grid to a new Word document
  void imgExcelMouseUp();  // the grid to a new Excel workbook
  void imgGuidaMouseUp();
  void imgEsciMouseUp();

 protected:
  ExportWindow(const QString& objectName, const QString& caption, const ExportGrid& grid,
               HelpTopic (*topic)(), QWidget* parent);

  // The archive the grid shows, asked at every showing.
  virtual std::filesystem::path archiveFile() const = 0;
  // How it is opened: a supply file is never created here.
  virtual ArchiveAccess archiveAccess() const { return ArchiveAccess::ForUpdate; }

  ArchiveGridModel& model() { return model_; }
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QGroupBox* grpComandi;
  ClickLabel *imgWord, *lblWord, *imgExcel, *lblExcel, *imgGuida, *lblGuida, *imgEsci, *lblEsci;
  QTableView* grdRecords;
  QLabel* panInfo;

  void buildCommands();
  void buildGrid();
  void wireCommands();
  // Turns the label of the pair under the mouse red and the others black.
  void highlightPair(const QWidget* pairMember);

  ArchiveGridModel model_;
  HelpTopic (*topic_)();
};

}  // namespace zel
