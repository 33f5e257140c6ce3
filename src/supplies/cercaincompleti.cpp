#include "supplies/cercaincompleti.h"

#include "store/supplysearch.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"
#include "ui/kit.h"
#include "ui/pickreceiver.h"

namespace zel {
namespace {

constexpr int kWidth = 676, kHeight = 542;


}  // namespace

TfrmCercaIncompleti::TfrmCercaIncompleti(QWidget* parent)
    : ListWindow(QStringLiteral("frmCercaIncompleti"), QStringLiteral(" Elenco pagamenti in sospeso"), parent,
                 uiFont(FontFamily::CourierNew, px(11)), 1500, PrintedList::PendingPayments) {
  setClientSize(kWidth, kHeight);
  grpElenco = addListGroup(QRect(8, 4, 660, 440));
  addInstructions(grpElenco, 10, 16, 560, 414);
  imgDecorazione = pictureLabel(grpElenco, "imgDecorazione", QStringLiteral(":/art/cmd_sospesi.png"),
                                QRect(604, 14, 44, 44), Qt::AlignLeft | Qt::AlignVCenter);
  results->place(QPoint(10, 60), QSize(640, 318));

  lblTotale = textLabel(this, "lblTotale", QStringLiteral("Totale importi in sospeso:"), QRect(300, 454, 190, 26),
                        uiFont(FontFamily::Verdana, pt(9), Bold));
  lblTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  repTotale = textLabel(this, "repTotale", QStringLiteral("0,00"), QRect(496, 454, 172, 26),
                        uiFont(FontFamily::Verdana, pt(9), Bold), kNavy);
  repTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  repTotale->setAutoFillBackground(true);
  QPalette p = repTotale->palette();
  p.setColor(QPalette::Window, Qt::white);
  repTotale->setPalette(p);
  repTotale->setFrameShape(QFrame::Panel);
  repTotale->setFrameShadow(QFrame::Sunken);
  repTotale->setIndent(6);

  cmdStampa->setGeometry(kWidth - 216, 500, 100, 30);
  cmdAnnulla = addCancelButton();
  cmdAnnulla->setGeometry(kWidth - 108, 500, 100, 30);
}

// A failure on the way ends the list quietly: the lines and the running sum
// reached so far stay on screen.
TextList TfrmCercaIncompleti::buildList(const Progress& progress) {
  SupplyOnSheet* sheet = supplyOnSheet();
  if (!sheet) {
    repTotale->setText(QStringLiteral("0,00"));
    return {};
  }
  supplysheet::ItemList pending;
  try {
    pending = pendingItems(qToPath(sheet->supplyFile()), Access::Existing, progress);
  } catch (const SupplyGone&) {
    repTotale->setText(QStringLiteral("0,00"));
    services().message(this, supplyGoneMessage());
    return {};
  }
  repTotale->setText(toQ(pending.total()));
  return std::move(pending.lines);
}

void TfrmCercaIncompleti::pick(const std::optional<Text>& line) {
  // Whatever happens, the window closes; a failure, or no line selected,
  // loads nothing, and only a supply gone meanwhile is told.
  try {
    SupplyOnSheet* sheet = supplyOnSheet();
    if (sheet && line) {
      const auto found = supplysheet::findRecordOfLine(qToPath(sheet->supplyFile()), *line);
      if (found) sheet->showItem(found->record, found->number);
    }
  } catch (const SupplyGone&) {
    services().message(this, supplyGoneMessage());
  } catch (...) {
  }
  close();
}

QString TfrmCercaIncompleti::supplyName() const {
  const SupplyOnSheet* sheet = supplyOnSheet();
  return sheet ? sheet->supplyName() : QString();
}

}  // namespace zel
