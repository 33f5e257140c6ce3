#include "ui/resultlist.h"

#include <QApplication>
#include <QGlyphRun>
#include <QMouseEvent>
#include <QPainter>
#include <optional>

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

QModelIndex TextListModel::index(int row, int column, const QModelIndex& parent) const {
  const bool inList = row >= 0 && static_cast<size_t>(row) < lines_.size() && column == 0 && !parent.isValid();
  return inList ? createIndex(row, column) : QModelIndex();
}

QVariant TextListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
  return toQ(blankControlCharacters(lines_[static_cast<size_t>(index.row())]));
}

LineDelegate::LineDelegate(QObject* parent, const TextListModel& model) : QStyledItemDelegate(parent), model_(model) {}

void LineDelegate::useFont(const QFont& font) const {
  if (tableMade_ && font == font_) return;
  font_ = font;
  tableMade_ = true;
  inTable_.reset();
  raw_ = QRawFont::fromFont(font);
  if (!raw_.isValid()) return;
  std::optional<qreal> width;
  for (int byte = 0; byte < 256; ++byte) {
    const QString ch = toQ(blankControlCharacters(Text(1, static_cast<char>(byte))));
    const QList<quint32> glyph = raw_.glyphIndexesForString(ch);
    if (ch.size() != 1 || glyph.size() != 1 || glyph[0] == 0) continue;  // another font would show it
    const qreal w = raw_.advancesForGlyphIndexes(glyph).value(0).x();
    if (width && w != *width) {  // characters of different widths: the style places them
      inTable_.reset();
      return;
    }
    width = w;
    glyphs_[static_cast<size_t>(byte)] = glyph[0];
    inTable_.set(static_cast<size_t>(byte));
  }
  advance_ = width.value_or(0);
}

std::optional<std::string_view> LineDelegate::tableLine(const QStyleOptionViewItem& option,
                                                      const QModelIndex& index) const {
  useFont(option.font);
  const size_t row = static_cast<size_t>(index.row());
  if (!index.isValid() || row >= model_.lines().size()) return std::nullopt;
  const std::string_view line = model_.lines()[row];
  for (char c : line)
    if (!inTable_.test(static_cast<unsigned char>(c))) return std::nullopt;
  return line;
}

QStyleOptionViewItem LineDelegate::withoutText(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  opt.text.clear();
  return opt;
}

QStyle* LineDelegate::styleOf(const QStyleOptionViewItem& option) {
  return option.widget ? option.widget->style() : QApplication::style();
}

QSize LineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const std::optional<std::string_view> line = tableLine(option, index);
  if (!line) return QStyledItemDelegate::sizeHint(option, index);
  // The style's size of an empty line, and the text as wide as its glyphs.
  const QStyleOptionViewItem opt = withoutText(option, index);
  const QSize empty = styleOf(opt)->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), opt.widget);
  return empty + QSize(static_cast<int>(std::ceil(static_cast<qreal>(line->size()) * advance_)), 0);
}

void LineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  // The selected line, light on dark, is left to the style: on a real X
  // server its glyphs' edges are blended otherwise than a glyph run's.
  const std::optional<std::string_view> found =
      option.state & QStyle::State_Selected ? std::nullopt : tableLine(option, index);
  if (!found) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const std::string_view line = *found;
  // The cell and its focus frame as the style paints them, without the
  // text (which the style would measure, too, to find its place).
  const QStyleOptionViewItem opt = withoutText(option, index);
  const QWidget* widget = opt.widget;
  QStyle* style = styleOf(opt);
  // Where and in what colour the style would write the text.
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(margin, 0, -margin, 0);
  if (static_cast<qreal>(line.size()) * advance_ > textRect.width()) {  // the style would cut it short
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
  if (group == QPalette::Normal && !(opt.state & QStyle::State_Active)) group = QPalette::Inactive;
  const QColor ink = opt.palette.color(group, QPalette::Text);
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

  QList<quint32> glyphs(static_cast<qsizetype>(line.size()));
  QList<QPointF> places(static_cast<qsizetype>(line.size()));
  for (size_t i = 0; i < line.size(); ++i) {
    glyphs[static_cast<qsizetype>(i)] = glyphs_[static_cast<unsigned char>(line[i])];
    places[static_cast<qsizetype>(i)] = QPointF(static_cast<qreal>(i) * advance_, raw_.ascent());
  }
  QGlyphRun run;
  run.setRawFont(raw_);
  run.setGlyphIndexes(glyphs);
  run.setPositions(places);
  const QSize lineSize(textRect.width(), static_cast<int>(std::ceil(raw_.ascent() + raw_.descent())));
  const QRect lineRect = QStyle::alignedRect(opt.direction, opt.displayAlignment, lineSize, textRect);
  painter->save();
  painter->setPen(ink);
  painter->drawGlyphRun(lineRect.topLeft(), run);
  painter->restore();
}

LineList::LineList(QWidget* parent, const QFont& font, int extent, int rowHeight)
    : QListView(parent), model_(this), delegate_(nullptr, model_) {
  setModel(&model_);
  setItemDelegate(&delegate_);
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
