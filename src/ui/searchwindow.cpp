#include "ui/searchwindow.h"

#include "ui/behaviour.h"
#include "ui/flow.h"
#include "ui/kit.h"

namespace zel {

QString callerTag(SearchCaller caller) {
  switch (caller) {
    case SearchCaller::ClientCard: return QStringLiteral("anagrafica");
    case SearchCaller::ProductCard: return QStringLiteral("materiali");
    case SearchCaller::SupplySheet: return QStringLiteral("forniture");
  }
  return {};
}

SearchWindow::SearchWindow(const QString& objectName, const QString& caption, QWidget* parent,
                           const QFont& listFont, int listExtent)
    : Dialog(objectName, caption, parent),
      lblMemory(hiddenLabel(this, "lblMemory")),
      grpCriteri(new QGroupBox(this)),
      grpElenco(new QGroupBox(this)),
      cmdTrova(new QPushButton(QStringLiteral("Trova"), this)),
      cmdIndietro(new QPushButton(QStringLiteral("<< Indietro"), this)),
      cmdStampa(new QPushButton(QStringLiteral("Stampa"), this)),
      cmdAnnulla(new QPushButton(QStringLiteral("Annulla"), this)),
      results(new ResultList(grpElenco, listFont, listExtent)) {
  grpCriteri->setObjectName(QStringLiteral("grpCriteri"));
  grpElenco->setObjectName(QStringLiteral("grpElenco"));
  cmdTrova->setObjectName(QStringLiteral("cmdTrova"));
  cmdIndietro->setObjectName(QStringLiteral("cmdIndietro"));
  cmdStampa->setObjectName(QStringLiteral("cmdStampa"));
  cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
  for (QPushButton* b : {cmdTrova, cmdIndietro, cmdStampa, cmdAnnulla}) b->setFocusPolicy(Qt::NoFocus);
  onClick(cmdTrova, this, [this] { showResults(search()); });
  onClick(cmdIndietro, this, [this] { showCriteria(); });
  onClick(cmdStampa, this, [this] { print(); });
  onClick(cmdAnnulla, this, [this] { close(); });
  results->onPick = [this](const QString& line) {
    pick(line);
    close();
  };
  showCriteria();
}

int SearchWindow::searchFor(SearchCaller caller) {
  lblMemory->setText(callerTag(caller));
  return flow().runModal(*this);
}

void SearchWindow::setCriteria(const QList<QLineEdit*>& criteria) {
  criteria_ = criteria;
  QList<QWidget*> chain(criteria.begin(), criteria.end());
  applyFocusColours(chain, kMoneyGreen);
  installEnterChain(chain);
}

void SearchWindow::showResults(const QStringList& lines) {
  results->setLines(lines);
  grpCriteri->hide();
  grpElenco->show();
  cmdTrova->setEnabled(false);
  cmdIndietro->setEnabled(true);
  cmdStampa->setEnabled(true);
  results->resetFind();
  results->txtTrova->setFocus();
}

void SearchWindow::showCriteria() {
  results->clear();
  grpElenco->hide();
  grpCriteri->show();
  cmdTrova->setEnabled(true);
  cmdIndietro->setEnabled(false);
  cmdStampa->setEnabled(false);
  if (!criteria_.isEmpty()) criteria_.first()->setFocus();
}

}  // namespace zel
