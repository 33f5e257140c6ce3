#include "ui/exportwindow.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QShowEvent>
#include <QStyledItemDelegate>

#include "output/core/docx.h"
#include "output/core/xlsx.h"
#include "output/officeexport.h"
#include "store/storeerror.h"
#include "ui/base/flow.h"
#include "ui/base/guards.h"
#include "ui/base/services.h"
#include "ui/kit.h"

namespace zel {
namespace {

// The data rows alternate by their row number in the grid (the heading row
// is row 0): even rows pale yellow, odd rows pale blue.
const QColor kEvenRow{249, 255, 225};
const QColor kOddRow{223, 235, 255};

constexpr int kRowHeight = 24;
constexpr size_t kRowsToMeasure = 256;  // rows read before the grid's texts take their room

QString wordFailure() {
  return QStringLiteral(
      "Attenzione: il sistema non consente di creare il file di Microsoft Word.\n\r\n\r"
      "Esportazione dati non riuscita.");
}

QString excelFailure() {
  return QStringLiteral(
      "Si è verificato un errore durante l'esportazione dei dati in Excel.\r\n\r\n"
      "Accertarsi che il pacchetto Microsoft Office sia installato sul proprio computer.");
}

// Paints a data cell: black text 2 pixels in from the left and top edges on
// the row's colour, framed in the same colour. A selected cell shows a
// shade darker, so that a selected range can be seen.
class GridCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const int gridRow = index.row() + 1;
    QColor colour = gridRow % 2 == 0 ? kEvenRow : kOddRow;
    if (option.state & QStyle::State_Selected) colour = colour.darker(112);
    painter->save();
    painter->fillRect(option.rect, colour);
    painter->setPen(colour);
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    // The cell keeps to one line: a note's line breaks show as blanks.
    QString text = index.data(Qt::DisplayRole).toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    painter->setPen(Qt::black);
    painter->setFont(option.font);
    painter->setClipRect(option.rect);
    painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter->restore();
  }
};

}  // namespace

// ---- the model ----

ArchiveGridModel::ArchiveGridModel(const ExportGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {}

void ArchiveGridModel::clear() {
  beginResetModel();
  headings_.clear();
  cells_.clear();
  ends_.clear();
  endResetModel();
}

void ArchiveGridModel::fill(const std::filesystem::path& archive, const Progress& progress,
                            ArchiveAccess access) {
  beginResetModel();
  headings_.clear();
  Text().swap(cells_);  // a smaller archive gives the memory of a larger one back
  std::vector<size_t>().swap(ends_);
  try {
    streamArchiveRows(grid_, archive, access,
                      [this](size_t row, size_t rows, const std::vector<Text>& cells) {
                        if (row == 0) {
                          headings_ = cells;
                          ends_.reserve((rows - 1) * cells.size());
                          return;
                        }
                        // Growing the texts step by step would copy them into
                        // fresh memory again and again: once a few rows show
                        // how long a row is, room for all of them is taken.
                        if (row == kRowsToMeasure && rows > 2 * kRowsToMeasure)
                          cells_.reserve(cells_.size() / kRowsToMeasure * (rows - 1) * 5 / 4);
                        for (const Text& c : cells) {
                          cells_ += c;
                          ends_.push_back(cells_.size());
                        }
                      },
                      progress);
  } catch (const Cancelled&) {
    headings_.clear();
    Text().swap(cells_);
    std::vector<size_t>().swap(ends_);
    endResetModel();
    throw;
  } catch (const SupplyGone&) {
    endResetModel();
    throw;
  } catch (const std::exception&) {
    // The grid shows what was read.
  }
  endResetModel();
}

std::string_view ArchiveGridModel::cell(size_t row, size_t column) const {
  const size_t at = row * columns() + column;
  const size_t begin = at == 0 ? 0 : ends_[at - 1];
  return std::string_view(cells_).substr(begin, ends_[at] - begin);
}

int ArchiveGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(dataRows());
}

int ArchiveGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns()) - 1;
}

QString ArchiveGridModel::cellText(int row, int column) const {
  return toQ(Text(cell(static_cast<size_t>(row), static_cast<size_t>(column) + 1)));
}

QVariant ArchiveGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  return cellText(index.row(), index.column());
}

QVariant ArchiveGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || section < 0) return {};
  const auto s = static_cast<size_t>(section);
  if (orientation == Qt::Horizontal)
    return s + 1 < headings_.size() ? toQ(headings_[s + 1]) : QString();
  return s < dataRows() ? toQ(Text(cell(s, 0))) : QString();
}

void ArchiveGridModel::Rows::visit(const RowVisitor& visitor) const {
  const size_t columns = model_.columns();
  const size_t total = model_.dataRows() + 1;
  std::vector<Text> cells = model_.headings_;
  cells.resize(columns);
  visitor(0, total, cells);
  for (size_t r = 0; r + 1 < total; ++r) {
    for (size_t c = 0; c < columns; ++c) cells[c] = model_.cell(r, c);
    visitor(r + 1, total, cells);
  }
}

// ---- the window ----

ExportWindow::ExportWindow(const QString& objectName, const QString& caption, const ExportGrid& grid,
                           HelpTopic (*topic)(), QWidget* parent)
    : Dialog(objectName, caption, parent), model_(grid, this), topic_(topic) {
  addMinimiseBox();
  setClientSize(783, 505);
  buildCommands();
  buildGrid();
  panInfo = new QLabel(this);
  panInfo->setObjectName(QStringLiteral("panInfo"));
  panInfo->setGeometry(0, 481, 783, 24);
  panInfo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panInfo->setFont(uiFont(FontFamily::Verdana, pt(8)));
  panInfo->setTextFormat(Qt::PlainText);
  wireCommands();
}

void ExportWindow::buildCommands() {
  grpComandi = new QGroupBox(this);
  grpComandi->setObjectName(QStringLiteral("grpComandi"));
  grpComandi->setGeometry(8, 2, 767, 62);
  struct Pair {
    ClickLabel** image;
    ClickLabel** label;
    const char* imageName;
    const char* labelName;
    const char* picture;
    const char* caption;
  };
  const Pair pairs[] = {
      {&imgWord, &lblWord, "imgWord", "lblWord", ":/art/cmd_word.png", "Esporta in Word"},
      {&imgExcel, &lblExcel, "imgExcel", "lblExcel", ":/art/cmd_excel.png", "Esporta in Excel"},
      {&imgGuida, &lblGuida, "imgGuida", "lblGuida", ":/art/cmd_guida.png", "Guida"},
      {&imgEsci, &lblEsci, "imgEsci", "lblEsci", ":/art/cmd_esci.png", "Esci"},
  };
  int left = 14;
  for (const Pair& p : pairs) {
    *p.image = iconCommand(grpComandi, p.imageName, QString::fromLatin1(p.picture), QRect(left, 12, 40, 40));
    auto* label = new ClickLabel(QString::fromLatin1(p.labelName), grpComandi);
    label->setText(QString::fromLatin1(p.caption));
    label->setFont(uiFont(FontFamily::Verdana, pt(8), Underline));
    label->setGeometry(left + 44, 12, 130, 40);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    *p.label = label;
    left += 190;
  }
  highlightPair(nullptr);
}

void ExportWindow::buildGrid() {
  const ExportGrid& grid = model_.grid();
  grdRecords = new QTableView(this);
  grdRecords->setObjectName(QStringLiteral("grdRecords"));
  grdRecords->setGeometry(8, 70, 767, 405);
  grdRecords->setModel(&model_);
  grdRecords->setItemDelegate(new GridCellDelegate(grdRecords));
  grdRecords->setFont(uiFont(FontFamily::Verdana, pt(8)));
  grdRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdRecords->setSelectionMode(QAbstractItemView::ContiguousSelection);
  grdRecords->setSelectionBehavior(QAbstractItemView::SelectItems);
  grdRecords->setWordWrap(false);

  QHeaderView* rows = grdRecords->verticalHeader();
  rows->setMinimumSectionSize(kRowHeight);
  rows->setDefaultSectionSize(kRowHeight);
  rows->setSectionResizeMode(QHeaderView::Fixed);  // fixed heights keep 100,000 rows quick
  rows->setFixedWidth(grid.columns.front().width);
  rows->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  rows->setHighlightSections(false);

  QHeaderView* headings = grdRecords->horizontalHeader();
  headings->setMinimumSectionSize(8);
  headings->setFixedHeight(kRowHeight);
  headings->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  headings->setSectionResizeMode(QHeaderView::Interactive);
  headings->setHighlightSections(false);
  for (size_t c = 1; c < grid.columns.size(); ++c)
    grdRecords->setColumnWidth(static_cast<int>(c) - 1, grid.columns[c].width);

  // Moving over the grid, or its headings, tells the current cell's text.
  for (QWidget* area : {grdRecords->viewport(), rows->viewport(), headings->viewport()}) {
    area->setMouseTracking(true);
    area->installEventFilter(this);
  }
}

void ExportWindow::wireCommands() {
  zel::wireCommands<ExportWindow>(this, panInfo, {
      {imgWord, &ExportWindow::imgWordMouseUp, " Esporta l'archivio in un file di Microsoft Word."},
      {lblWord, &ExportWindow::imgWordMouseUp, " Esporta l'archivio in un file di Microsoft Word."},
      {imgExcel, &ExportWindow::imgExcelMouseUp, " Esporta l'archivio in un foglio di lavoro di Microsoft Excel."},
      {lblExcel, &ExportWindow::imgExcelMouseUp, " Esporta l'archivio in un foglio di lavoro di Microsoft Excel."},
      {imgGuida, &ExportWindow::imgGuidaMouseUp, " Visualizza la guida in linea."},
      {lblGuida, &ExportWindow::imgGuidaMouseUp, " Visualizza la guida in linea."},
      {imgEsci, &ExportWindow::imgEsciMouseUp, " Esce dalla schermata di lavoro corrente."},
      {lblEsci, &ExportWindow::imgEsciMouseUp, " Esce dalla schermata di lavoro corrente."},
  });
  installStatusTexts(panInfo, {}, {grpComandi});
  for (QWidget* w : QList<QWidget*>{imgWord, lblWord, imgExcel, lblExcel, imgGuida, lblGuida, imgEsci, lblEsci, grpComandi})
    w->installEventFilter(this);
}

void ExportWindow::highlightPair(const QWidget* member) {
  const std::pair<QWidget*, ClickLabel*> pairs[] = {
      {imgWord, lblWord}, {imgExcel, lblExcel}, {imgGuida, lblGuida}, {imgEsci, lblEsci}};
  for (const auto& [image, label] : pairs) {
    const bool hovered = member != nullptr && (member == image || member == label);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, hovered ? Qt::red : Qt::black);
    label->setPalette(p);
  }
}

bool ExportWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == grpComandi) {
    if (type == QEvent::Enter) highlightPair(nullptr);
  } else if (qobject_cast<ClickLabel*>(watched)) {
    // Leaving a pair is coming back to the command group, or leaving the window.
    if (type == QEvent::Enter) highlightPair(static_cast<QWidget*>(watched));
    else if (type == QEvent::Leave) highlightPair(nullptr);
  } else if (type == QEvent::Enter || type == QEvent::MouseMove) {  // the grid and its headings
    const QModelIndex current = grdRecords->currentIndex();
    panInfo->setText(QLatin1Char(' ') + trimmed(current.isValid() ? current.data().toString() : QString()));
    highlightPair(nullptr);
  }
  return Dialog::eventFilter(watched, event);
}

// ---- showing ----

int ExportWindow::showModal() { return flow().runModal(*this); }

void ExportWindow::showEvent(QShowEvent* event) {
  Dialog::showEvent(event);
  if (event->spontaneous()) return;
  guarded(this, [this] {
    const std::filesystem::path archive = archiveFile();
    bool read = false;
    try {
      read = runLongWork(this, QStringLiteral("Lettura dell'archivio in corso..."),
                         [&](const Progress& progress) { model_.fill(archive, progress, archiveAccess()); });
    } catch (const SupplyGone&) {
      services().message(this, supplyGoneMessage());  // the grid stays empty
      return;
    }
    if (!read) {
      // Stopped by the user: there is nothing to export.
      QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
      return;
    }
    if (model_.rowCount() > 0) grdRecords->setCurrentIndex(model_.index(0, 0));
    grdRecords->scrollToTop();
  });
  panInfo->clear();
  highlightPair(nullptr);
}

// ---- the commands ----

void ExportWindow::imgWordMouseUp() {
  const ArchiveGridModel::Rows rows = model_.rows();
  exportDocument(this, model_.grid().sheetName, wordFailure(),
                 [&rows](const Destination& to, const Progress& progress) {
                   return writeGridDocument(rows, to, progress);
                 });
}

void ExportWindow::imgExcelMouseUp() {
  const ArchiveGridModel::Rows rows = model_.rows();
  const char* sheet = model_.grid().sheetName;
  exportDocument(this, sheet, excelFailure(), [&rows, sheet](const Destination& to, const Progress& progress) {
    return writeGridWorkbook(rows, sheet, to, progress);
  });
}

void ExportWindow::imgGuidaMouseUp() { flow().showHelp(topic_()); }

void ExportWindow::imgEsciMouseUp() { reject(); }

}  // namespace zel
