#include "ui/listwindow.h"

#include <QShowEvent>

#include "output/listprint.h"
#include "ui/base/flow.h"
#include "ui/base/services.h"
#include "ui/kit.h"

namespace zel {

ListWindow::ListWindow(const QString& objectName, const QString& caption, QWidget* parent,
                       const QFont& listFont, int listExtent, PrintedList printed)
    : Dialog(objectName, caption, parent),
      cmdStampa(new QPushButton(QStringLiteral("Stampa"), this)),
      results(new ResultList(this, listFont, listExtent)),
      printed_(printed) {
  addMinimiseBox();
  setBackground(kSilver);
  cmdStampa->setObjectName(QStringLiteral("cmdStampa"));
  cmdStampa->setFocusPolicy(Qt::NoFocus);
  onClick(cmdStampa, this, [this] { cmdStampaClick(); });
  results->onPick = [this](const std::optional<Text>& line) { pick(line); };
}

QPushButton* ListWindow::addCancelButton() {
  auto* cancel = new QPushButton(QStringLiteral("Annulla"), this);
  cancel->setObjectName(QStringLiteral("cmdAnnulla"));
  cancel->setFocusPolicy(Qt::NoFocus);
  onClick(cancel, this, [this] { close(); });
  return cancel;
}

QGroupBox* ListWindow::addListGroup(const QRect& where) {
  auto* group = new QGroupBox(this);
  group->setObjectName(QStringLiteral("grpElenco"));
  group->setGeometry(where);
  results->moveInto(group);
  return group;
}

void ListWindow::addInstructions(QWidget* parent, int left, int top, int width, int hintTop, const QString& hint) {
  const QFont info = uiFont(FontFamily::Verdana, pt(8));
  textLabel(parent, "lblInfo01",
            QStringLiteral("Inserire una o più parole consecutive presenti nella scheda da cercare e premere il "
                           "pulsante Trova."),
            QRect(left, top, width, 16), info);
  textLabel(parent, "lblInfo02",
            QStringLiteral("Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di "
                           "nuovo clic su Trova."),
            QRect(left, top + 17, width, 16), info);
  textLabel(parent, "lblInfo03",
            hint.isEmpty() ? QStringLiteral("Per richiamare i dati di una scheda, selezionarla con un doppio clic.")
                           : hint,
            QRect(left, hintTop, width, 18), info, kMaroon);
}

int ListWindow::showModal() { return flow().runModal(*this); }

void ListWindow::cmdStampaClick() { printList(this, results->lines(), printed_, supplyName(), total()); }

void ListWindow::showEvent(QShowEvent* event) {
  Dialog::showEvent(event);
  if (event->spontaneous()) return;
  results->resetFind();
  guarded(this, [this] {
    TextList lines;
    if (runLongWork(this, QStringLiteral("Preparazione dell'elenco in corso..."),
                    [&](const Progress& progress) { lines = buildList(progress); }))
      results->setLines(std::move(lines));
    else  // stopped by the user: nothing to show
      QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
  });
}

void ListWindow::done(int result) {
  results->clear();
  Dialog::done(result);
}

}  // namespace zel
