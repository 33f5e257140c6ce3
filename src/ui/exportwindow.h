#pragma once
// An archive export window: the whole archive in a grid `grdRecords` (a
// fixed heading row, a fixed column of record numbers, then one column per
// exported field), filled afresh at every showing, with the commands that
// export the grid to Word or Excel.
#include <QAbstractTableModel>
#include <QLabel>
#include <QTableView>
#include <filesystem>
#include <string>
#include <vector>

#include "core/text.h"
#include "output/core/grids.h"
#include "ui/dialog.h"

namespace zel {

// The rows of an archive as the grid shows them. The texts are kept as the
// file holds them (Windows-1252), one block per row, and converted only when
// a cell is painted: a large archive is not held twice over in memory.
class ArchiveGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // The grid's first column (the record numbers) is the vertical header; the
  // model's columns are the fields after it.
  ArchiveGridModel(const ExportGrid& grid, QObject* parent = nullptr);

  // Reads every record of the file (opened for update: a missing archive is
  // created empty). A failure keeps the rows read so far.
  void fill(const std::filesystem::path& archive);
  void clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  const ExportGrid& grid() const { return grid_; }
  // The text of a data cell (row and column from 0, column 0 the first field).
  QString cellText(int row, int column) const;

 private:
  const ExportGrid& grid_;
  std::vector<Text> numbers_;                // the record number of each row
  std::vector<Text> rows_;                   // the fields of a row, one after the other
  std::vector<std::vector<uint32_t>> ends_;  // where each field of a row ends
};

class ExportWindow : public Dialog {
  Q_OBJECT
 public:
  // Shows the window modally; the grid is filled as it appears.
  int showModal();

  QTableView* grdRecords;
  QLabel* panInfo;

 protected:
  ExportWindow(const QString& objectName, const QString& caption, QWidget* parent, const ExportGrid& grid);

  // The archive the grid shows, asked at every showing.
  virtual std::filesystem::path archiveFile() const = 0;

  ArchiveGridModel& model() { return model_; }
  void showEvent(QShowEvent* event) override;

 private:
  ArchiveGridModel model_;
};

}  // namespace zel
