#include "ui/resultlist.h"

#include "ui/behaviour.h"
#include "ui/kit.h"

namespace zel {

ResultList::ResultList(QWidget* parent, const QFont& font, int extent)
    : QObject(parent),
      lstRecords(new QListView(parent)),
      txtTrova(new QLineEdit(parent)),
      cmdTrova02(new QPushButton(QStringLiteral("Trova"), parent)) {
  lstRecords->setObjectName(QStringLiteral("lstRecords"));
  lstRecords->setModel(&model_);
  lstRecords->setFont(font);
  lstRecords->setFocusPolicy(Qt::ClickFocus);  // not reachable by Tab
  lstRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lstRecords->setUniformItemSizes(true);
  lstRecords->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  // Every line takes a cell as wide as the extent the list scrolls over.
  lstRecords->setGridSize(QSize(extent, QFontMetrics(font).height() + 2));
  txtTrova->setObjectName(QStringLiteral("txtTrova"));
  applyFocusColour(txtTrova, Qt::white);
  cmdTrova02->setObjectName(QStringLiteral("cmdTrova02"));

  QWidget* owner = parent;
  connect(lstRecords, &QListView::doubleClicked, this, [this, owner] {
    if (onPick) guarded(owner, [this] { onPick(selectedLine()); });
  });
  onClick(cmdTrova02, owner, [this] {
    if (onFind) onFind();
  });
  connect(txtTrova, &QLineEdit::returnPressed, this, [this, owner] {
    if (onFind) guarded(owner, onFind);
  });
}

void ResultList::setLines(const QStringList& lines) {
  lines_ = lines;
  model_.setStringList(lines_);
}

int ResultList::selectedRow() const {
  const QModelIndex i = lstRecords->currentIndex();
  return i.isValid() && lstRecords->selectionModel()->isSelected(i) ? i.row() : -1;
}

void ResultList::selectRow(int row) {
  const QModelIndex i = model_.index(row);
  lstRecords->setCurrentIndex(i);
  lstRecords->scrollTo(i);
}

QString ResultList::selectedLine() const {
  const int row = selectedRow();
  return row >= 0 ? lines_.at(row) : QString();
}

void ResultList::resetFind() {
  lastSearched_.clear();
  txtTrova->clear();
}

}  // namespace zel
