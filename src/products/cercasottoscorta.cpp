#include "products/cercasottoscorta.h"

#include "store/archives.h"
#include "store/productsearch.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/cardscreen.h"
#include "ui/kit.h"

namespace zel {

TfrmCercaSottoscorta::TfrmCercaSottoscorta(QWidget* parent)
    : ListWindow(QStringLiteral("frmCercaSottoscorta"), QStringLiteral(" Prodotti in esaurimento"), parent,
                 uiFont(FontFamily::CourierNew, px(11)), 1300, PrintedList::UnderStock) {
  setClientSize(676, 505);
  grpElenco = addListGroup(QRect(8, 4, 660, 450));
  imgTitolo = titleBand(grpElenco, "imgTitolo", QStringLiteral("Prodotti in esaurimento"), QRect(8, 14, 644, 26));
  addInstructions(grpElenco, 10, 50, 640, 424);
  results->place(QPoint(10, 92), QSize(640, 296));
  cmdStampa->setGeometry(676 - 216, 462, 100, 30);
  cmdAnnulla = addCancelButton();
  cmdAnnulla->setGeometry(676 - 108, 462, 100, 30);
}

// A stock or threshold that is not a number ends the listing without a word;
// the lines reached so far stay.
TextList TfrmCercaSottoscorta::buildList(const Progress& progress) {
  return underStockList(programFile(kProductArchive), Access::Update, progress).lines;
}

void TfrmCercaSottoscorta::pick(const std::optional<Text>& line) {
  // Whatever happens, the window closes; a failure, or no line selected,
  // loads nothing.
  try {
    if (line) {
      const std::optional<PickedRecord> found = pickByStockLine(programFile(kProductArchive), *line);
      auto* card = windowAs<CardScreen>(WindowId::ProductCard);
      if (found && card) card->showRecord(found->record, found->number);
    }
  } catch (...) {
  }
  close();
}

}  // namespace zel
