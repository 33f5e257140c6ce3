#include "ui/exportwindow.h"

#include <QHeaderView>
#include <QShowEvent>

#include "ui/behaviour.h"
#include "ui/flow.h"
#include "ui/kit.h"

namespace zel {

ArchiveGridModel::ArchiveGridModel(const ExportGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {}

void ArchiveGridModel::clear() {
  beginResetModel();
  numbers_.clear();
  rows_.clear();
  ends_.clear();
  endResetModel();
}

void ArchiveGridModel::fill(const std::filesystem::path& archive) {
  beginResetModel();
  numbers_.clear();
  rows_.clear();
  ends_.clear();
  try {
    streamArchiveRows(grid_, archive, ArchiveAccess::ForUpdate,
                      [this](size_t row, size_t, const std::vector<Text>& cells) {
                        // The heading row is the view's header; an empty
                        // archive streams one empty row, shown as none.
                        if (row == 0 || cells.front().empty()) return;
                        numbers_.push_back(cells.front());
                        Text fields;
                        std::vector<uint32_t> ends;
                        for (size_t c = 1; c < cells.size(); ++c) {
                          fields += cells[c];
                          ends.push_back(static_cast<uint32_t>(fields.size()));
                        }
                        rows_.push_back(std::move(fields));
                        ends_.push_back(std::move(ends));
                      });
  } catch (const std::exception&) {
    // The grid shows what was read.
  }
  endResetModel();
}

int ArchiveGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ArchiveGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(grid_.columns.size()) - 1;
}

QString ArchiveGridModel::cellText(int row, int column) const {
  const auto r = static_cast<size_t>(row);
  const auto c = static_cast<size_t>(column);
  const uint32_t begin = c == 0 ? 0 : ends_[r][c - 1];
  return toQ(rows_[r].substr(begin, ends_[r][c] - begin));
}

QVariant ArchiveGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  return cellText(index.row(), index.column());
}

QVariant ArchiveGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) {
    const auto column = static_cast<size_t>(section) + 1;
    return column < grid_.columns.size() ? toQ(grid_.columns[column].heading) : QVariant();
  }
  return section < rowCount() ? toQ(numbers_[static_cast<size_t>(section)]) : QVariant();
}

ExportWindow::ExportWindow(const QString& objectName, const QString& caption, QWidget* parent,
                           const ExportGrid& grid)
    : Dialog(objectName, caption, parent),
      grdRecords(new QTableView(this)),
      panInfo(new QLabel(this)),
      model_(grid, this) {
  grdRecords->setObjectName(QStringLiteral("grdRecords"));
  grdRecords->setModel(&model_);
  grdRecords->setFont(uiFont(FontFamily::Verdana, pt(8)));
  grdRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdRecords->verticalHeader()->setDefaultSectionSize(24);
  grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grdRecords->verticalHeader()->setFixedWidth(grid.columns.front().width);
  for (size_t c = 1; c < grid.columns.size(); ++c)
    grdRecords->setColumnWidth(static_cast<int>(c) - 1, grid.columns[c].width);
  panInfo->setObjectName(QStringLiteral("panInfo"));
}

int ExportWindow::showModal() { return flow().runModal(*this); }

void ExportWindow::showEvent(QShowEvent* event) {
  Dialog::showEvent(event);
  if (!event->spontaneous()) guarded(this, [this] { model_.fill(archiveFile()); });
}

}  // namespace zel
