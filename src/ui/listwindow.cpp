#include "ui/listwindow.h"

#include <QShowEvent>

#include "ui/behaviour.h"
#include "ui/flow.h"
#include "ui/kit.h"

namespace zel {

ListWindow::ListWindow(const QString& objectName, const QString& caption, QWidget* parent,
                       const QFont& listFont, int listExtent)
    : Dialog(objectName, caption, parent),
      cmdStampa(new QPushButton(QStringLiteral("Stampa"), this)),
      results(new ResultList(this, listFont, listExtent)) {
  cmdStampa->setObjectName(QStringLiteral("cmdStampa"));
  onClick(cmdStampa, this, [this] { print(); });
  results->onPick = [this](const QString& line) { pick(line); };
}

QPushButton* ListWindow::addCancelButton() {
  auto* cancel = new QPushButton(QStringLiteral("Annulla"), this);
  cancel->setObjectName(QStringLiteral("cmdAnnulla"));
  onClick(cancel, this, [this] { close(); });
  return cancel;
}

int ListWindow::showModal() { return flow().runModal(*this); }

void ListWindow::showEvent(QShowEvent* event) {
  Dialog::showEvent(event);
  if (event->spontaneous()) return;
  results->resetFind();
  guarded(this, [this] { results->setLines(buildList()); });
}

}  // namespace zel
