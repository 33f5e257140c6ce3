#include "ui/exportwindow.h"

#include <QHeaderView>
#include <QShowEvent>

#include "store/recordfile.h"
#include "ui/behaviour.h"
#include "ui/flow.h"
#include "ui/kit.h"

namespace zel {

ArchiveGridModel::ArchiveGridModel(const Layout& layout, QList<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), layout_(layout), columns_(std::move(columns)) {
  for (const GridColumn& c : columns_) fieldIndex_.push_back(layout_.indexOf(c.field));
}

void ArchiveGridModel::clear() {
  beginResetModel();
  rows_.clear();
  ends_.clear();
  endResetModel();
}

void ArchiveGridModel::fill(const std::filesystem::path& archive) {
  beginResetModel();
  rows_.clear();
  ends_.clear();
  try {
    RecordFile file = RecordFile::openForUpdate(archive, layout_);
    rows_.reserve(file.count());
    file.scanRecords([this](size_t, const Record& r) {
      Text row;
      std::vector<uint32_t> ends;
      for (size_t f : fieldIndex_) {
        row += r[f];
        ends.push_back(static_cast<uint32_t>(row.size()));
      }
      rows_.push_back(std::move(row));
      ends_.push_back(std::move(ends));
    });
  } catch (const StoreError&) {
    // The grid shows what was read.
  }
  endResetModel();
}

int ArchiveGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ArchiveGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
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
  if (orientation == Qt::Horizontal) return columns_.value(section).heading;
  return QString::number(section + 1);  // the record number
}

ExportWindow::ExportWindow(const QString& objectName, const QString& caption, QWidget* parent,
                           const Layout& layout, QList<GridColumn> columns)
    : Dialog(objectName, caption, parent),
      grdRecords(new QTableView(this)),
      panInfo(new QLabel(this)),
      model_(layout, std::move(columns), this) {
  grdRecords->setObjectName(QStringLiteral("grdRecords"));
  grdRecords->setModel(&model_);
  grdRecords->setFont(uiFont(FontFamily::Verdana, pt(8)));
  grdRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdRecords->verticalHeader()->setDefaultSectionSize(24);
  grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grdRecords->verticalHeader()->setFixedWidth(50);
  for (int c = 0; c < model_.columns().size(); ++c) grdRecords->setColumnWidth(c, model_.columns()[c].width);
  panInfo->setObjectName(QStringLiteral("panInfo"));
}

int ExportWindow::showModal() { return flow().runModal(*this); }

void ExportWindow::showEvent(QShowEvent* event) {
  Dialog::showEvent(event);
  if (!event->spontaneous()) guarded(this, [this] { model_.fill(archiveFile()); });
}

}  // namespace zel
