#include "output/listprint.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <map>
#include <memory>
#include <stdexcept>

#include "ui/base/guards.h"
#include "ui/base/pdfprint.h"
#include "ui/base/services.h"
#include "ui/base/textconv.h"
#include "ui/base/waitcursor.h"

namespace zel {
namespace {

QString nothingToPrint() {
  return QStringLiteral("Operazione di stampa non applicabile: la lista non contiene nessuna voce.");
}

QString printFailed() {
  return QStringLiteral(
      "Attenzione: la stampa non è stata eseguita.\r\n\r\n"
      "Accertarsi che la stampante sia collegata e pronta, quindi riprovare.");
}

Timestamp now() {
  const QDateTime t = QDateTime::currentDateTime();
  return {t.date().year(), t.date().month(), t.date().day(),
          t.time().hour(), t.time().minute(), t.time().second()};
}

QFont printFont(int points) {
  QFont f(QString::fromLatin1(kPrintFont));
  f.setStyleHint(QFont::TypeWriter);
  f.setPointSize(points);
  return f;
}

// Draws each text with its top-left corner at its place, as a typewriter
// layout expects: the baseline is one ascent below. A stop asked through
// `progress` ends the document unprinted: a printer's job is aborted, so no
// half list comes out of it.
void renderPages(QPagedPaintDevice& device, const PrintRequest& layout, const Progress& progress) {
  PrintRequest request = layout;
  request.dpi = device.logicalDpiY();
  request.pageHeight = device.height();
  const std::vector<PrintPage> pages = layoutPrintedList(request);
  size_t items = 0;
  for (const PrintPage& page : pages) items += page.size();
  QPainter painter;
  if (!painter.begin(&device)) throw std::runtime_error("the printer cannot start the document");
  painter.setPen(Qt::black);
  // A font and its ascent for each of the few sizes a list uses.
  std::map<int, std::pair<QFont, int>> fonts;
  auto fontOf = [&](int points) -> const std::pair<QFont, int>& {
    auto it = fonts.find(points);
    if (it == fonts.end()) {
      const QFont font = printFont(points);
      it = fonts.emplace(points, std::make_pair(font, QFontMetrics(font, &device).ascent())).first;
    }
    return it->second;
  };
  try {
    size_t done = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
      if (i > 0 && !device.newPage()) throw std::runtime_error("the printer cannot start a new page");
      for (const PrintItem& item : pages[i]) {
        progress.step(done++, items);
        const auto& [font, ascent] = fontOf(item.pointSize);
        painter.setFont(font);
        painter.drawText(QPoint(item.x, item.y + ascent), toQ(item.text));
      }
    }
    progress.step(items, items);
  } catch (const Cancelled&) {
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->abort();
    throw;
  }
  if (!painter.end()) throw std::runtime_error("the printer did not finish the document");
}

}  // namespace

bool printList(QWidget* window, const TextList& entries, PrintedList list, const QString& supplyName,
               const QString& total) {
  if (entries.empty()) {
    services().message(window, nothingToPrint());
    return false;
  }
  const PrintVariant variant = printVariant(list, fromQ(supplyName));
  // A task-modal question belongs to no window and holds the whole program;
  // the supply sheet's belongs to the sheet.
  const MsgAnswer answer =
      services().box(variant.taskModal ? nullptr : window, toQ(variant.question),
                     QStringLiteral("Conferma operazione di stampa"), MsgIcon::Question, MsgButtons::YesNo);
  if (answer != MsgAnswer::Yes) return false;

  PrintRequest request;
  request.entries = entries;
  request.title = variant.title;
  request.separatorLength = variant.separatorLength;
  if (variant.totalLabel) request.total = PrintTotal{*variant.totalLabel, fromQ(trimmed(total))};
  request.stamp = printStamp(now());

  bool printed = false;
  bool stopped = false;
  {
    WaitCursor wait;
    try {
      stopped = !runLongWork(window, QStringLiteral("Stampa in corso..."), [&](const Progress& progress) {
        printed = services().print(toQ(variant.title), [&](QPagedPaintDevice& device) {
          renderPages(device, request, progress);
        });
      });
    } catch (...) {
      printed = false;
    }
  }
  if (stopped) return false;  // the user's own choice: nothing to say
  if (!printed) services().message(window, printFailed());
  return printed;
}

}  // namespace zel
