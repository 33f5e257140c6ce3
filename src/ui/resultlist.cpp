#include "ui/resultlist.h"

#include <QApplication>
#include <QMouseEvent>

#include "core/findinlist.h"
#include "ui/base/services.h"
#include "ui/behaviour.h"
#include "ui/kit.h"

namespace zel {

void TextListModel::setLines(TextList lines) {
  beginResetModel();
  lines_ = std::move(lines);
  endResetModel();
}

int TextListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant TextListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
  return toQ(blankControlCharacters(lines_[static_cast<size_t>(index.row())]));
}

LineList::LineList(QWidget* parent, const QFont& font, int extent, int rowHeight)
    : QListView(parent), model_(this) {
  setModel(&model_);
  setFont(font);
  setFocusPolicy(Qt::ClickFocus);  // not reachable by Tab
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Every line takes a cell as wide as the extent the list scrolls over.
  setGridSize(QSize(extent, rowHeight));
  connect(this, &QListView::clicked, this, [this](const QModelIndex& i) { emit chosen(i.row()); });
  // The keyboard moves the selection without a click; a click reports itself.
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
    if (programmatic_ || QApplication::mouseButtons() != Qt::NoButton || !hasFocus()) return;
    emit chosen(current.row());
  });
}

void LineList::mouseDoubleClickEvent(QMouseEvent* event) {
  QListView::mouseDoubleClickEvent(event);
  // The view reports a double click only over a line; a pick is asked for
  // wherever the list is double-clicked.
  if (event->button() == Qt::LeftButton) emit doubleClickedAnywhere();
}

void LineList::setLines(TextList lines) {
  programmatic_ = true;
  model_.setLines(std::move(lines));
  programmatic_ = false;
}

QString LineList::lineText(int row) const {
  return row >= 0 && row < count() ? toQ(blankControlCharacters(lines()[static_cast<size_t>(row)])) : QString();
}

int LineList::currentRow() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.row() : -1;
}

void LineList::selectRow(int row) {
  const QModelIndex i = model_.index(row);
  programmatic_ = true;
  setCurrentIndex(i);
  programmatic_ = false;
  scrollTo(i);
}

ResultList::ResultList(QWidget* parent, const QFont& font, int extent)
    : QObject(parent),
      lstRecords(new LineList(parent, font, extent, QFontMetrics(font).height() + 2)),
      txtTrova(new QLineEdit(parent)),
      cmdTrova02(new QPushButton(QStringLiteral("Trova"), parent)) {
  lstRecords->setObjectName(QStringLiteral("lstRecords"));
  QPalette p = lstRecords->palette();
  p.setColor(QPalette::Base, Qt::white);
  lstRecords->setPalette(p);
  txtTrova->setObjectName(QStringLiteral("txtTrova"));
  txtTrova->setFont(uiFont(FontFamily::Verdana, pt(8)));
  applyFocusColour(txtTrova, Qt::white);
  cmdTrova02->setObjectName(QStringLiteral("cmdTrova02"));
  cmdTrova02->setFocusPolicy(Qt::NoFocus);

  QWidget* owner = parent;
  connect(lstRecords, &LineList::doubleClickedAnywhere, this, [this, owner] {
    const std::optional<Text> line = selectedLine();
    if (onPick) guarded(owner, [&] { onPick(line); });
  });
  connect(lstRecords, &LineList::chosen, this, [this](int row) { userSelected(row); });
  connect(cmdTrova02, &QPushButton::clicked, this, [this] { find(); });
  connect(txtTrova, &QLineEdit::returnPressed, this, [this] { find(); });
}

void ResultList::place(QPoint findBox, QSize listSize) {
  txtTrova->setGeometry(findBox.x(), findBox.y(), 300, 22);
  cmdTrova02->setGeometry(findBox.x() + 306, findBox.y() - 1, 90, 24);
  lstRecords->setGeometry(QRect(QPoint(findBox.x(), findBox.y() + 30), listSize));
}

void ResultList::moveInto(QWidget* group) {
  for (QWidget* w : QList<QWidget*>{lstRecords, txtTrova, cmdTrova02}) {
    w->setParent(group);
    w->show();
  }
}

void ResultList::focusFind() { txtTrova->setFocus(); }

int ResultList::selectedRow() const {
  const QModelIndex i = lstRecords->currentIndex();
  return i.isValid() && lstRecords->selectionModel()->isSelected(i) ? i.row() : -1;
}

void ResultList::selectRow(int row) { lstRecords->selectRow(row); }

std::optional<Text> ResultList::selectedLine() const {
  const int row = selectedRow();
  if (row < 0) return std::nullopt;
  return Text(lines()[static_cast<size_t>(row)]);
}

void ResultList::userSelected(int row) {
  if (row < 0 || row >= count() || !onSelect) return;
  const Text line(lines()[static_cast<size_t>(row)]);
  guarded(lstRecords->window(), [&] { onSelect(line); });
}

void ResultList::find() {
  if (lines().empty()) {
    services().message(lstRecords->window(),
                       QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
    return;
  }
  // Whatever else goes wrong in a find is not worth a word.
  try {
    const int row = selectedRow();
    const FindStep step = findInList(lines(), fromQ(txtTrova->text()), lastKey_,
                                     row >= 0 ? std::optional<size_t>(static_cast<size_t>(row)) : std::nullopt);
    lastKey_ = step.lastKey;
    if (step.selected) selectRow(static_cast<int>(*step.selected));
  } catch (...) {
  }
}

void ResultList::resetFind() {
  lastKey_.clear();
  txtTrova->clear();
}

QString ResultList::lastSearched() const { return toQ(lastKey_); }

}  // namespace zel
