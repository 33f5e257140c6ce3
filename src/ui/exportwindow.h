#pragma once
// An archive export window: the whole archive in a grid `grdRecords` (a
// fixed heading row, a fixed column of record numbers, then one column per
// exported field), filled afresh at every showing, with the commands that
// export the grid to Word or Excel.
#include <QAbstractTableModel>
#include <QLabel>
#include <QList>
#include <QTableView>
#include <filesystem>
#include <string>
#include <vector>

#include "core/text.h"
#include "ui/dialog.h"

namespace zel {

class Layout;

// One column of the grid after the record numbers: its heading as shown
// (with its leading blank), its width in pixels and the record field it shows.
struct GridColumn {
  QString heading;
  int width;
  const char* field;
};

// The rows of an archive as the grid shows them. The texts are kept as the
// file holds them (Windows-1252), one block per row, and converted only when
// a cell is painted: a large archive is not held twice over in memory.
class ArchiveGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  ArchiveGridModel(const Layout& layout, QList<GridColumn> columns, QObject* parent = nullptr);

  // Reads every record of the file (opened for update: a missing archive is
  // created empty). A failure keeps the rows read so far.
  void fill(const std::filesystem::path& archive);
  void clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  const QList<GridColumn>& columns() const { return columns_; }
  // The text of a data cell (row and column from 0, column 0 the first field).
  QString cellText(int row, int column) const;

 private:
  const Layout& layout_;
  QList<GridColumn> columns_;
  std::vector<size_t> fieldIndex_;
  std::vector<Text> rows_;                // the fields of a row, one after the other
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
  ExportWindow(const QString& objectName, const QString& caption, QWidget* parent, const Layout& layout,
               QList<GridColumn> columns);

  // The archive the grid shows, asked at every showing.
  virtual std::filesystem::path archiveFile() const = 0;

  ArchiveGridModel& model() { return model_; }
  void showEvent(QShowEvent* event) override;

 private:
  ArchiveGridModel model_;
};

}  // namespace zel
