#include "ui/searchwindow.h"

#include <QShowEvent>

#include "output/listprint.h"
#include "ui/base/flow.h"
#include "ui/base/services.h"
#include "ui/kit.h"

namespace zel {
namespace {

// The client area of every search window, and its two pages in one place.
constexpr int kWidth = 783, kHeight = 505;
const QRect kPage(8, 4, 767, 446);
constexpr int kButtonTop = 460, kButtonHeight = 30;
// The criteria boxes: two columns, a caption above each box.
constexpr int kCriteriaTop = 148, kCriteriaPitch = 50, kColumnWidth = 360, kBoxHeight = 22;
constexpr int kColumns[] = {14, 392};

}  // namespace

QString callerTag(SearchCaller caller) {
  switch (caller) {
    case SearchCaller::ClientCard: return QStringLiteral("anagrafica");
    case SearchCaller::ProductCard: return QStringLiteral("materiali");
    case SearchCaller::SupplySheet: return QStringLiteral("forniture");
  }
  return {};
}

SearchWindow::SearchWindow(const QString& objectName, const QString& caption, QWidget* parent,
                           const SearchLook& look)
    : Dialog(objectName, caption, parent),
      lblMemory(hiddenLabel(this, "lblMemory")),
      grpCriteri(new QGroupBox(this)),
      grpElenco(new QGroupBox(this)),
      cmdTrova(new QPushButton(QStringLiteral("Trova"), this)),
      cmdIndietro(new QPushButton(QStringLiteral("<< Indietro"), this)),
      cmdStampa(new QPushButton(QStringLiteral("Stampa"), this)),
      cmdAnnulla(new QPushButton(QStringLiteral("Annulla"), this)),
      results(new ResultList(grpElenco, look.listFont, look.listExtent)),
      look_(look) {
  addMinimiseBox();
  setClientSize(kWidth, kHeight);
  setBackground(look.background);
  if (look.countLabel) {
    lblConta = hiddenLabel(this, "lblConta");
    lblConta->setText(QStringLiteral("0"));
  }

  const QFont info = uiFont(FontFamily::Verdana, pt(8));
  grpCriteri->setObjectName(QStringLiteral("grpCriteri"));
  grpCriteri->setGeometry(kPage);
  lblTitolo = titleBand(grpCriteri, "lblTitolo", look.title, QRect(8, 14, kPage.width() - 16, 26));
  const QString instructions[] = {
      QStringLiteral("Immettere nei campi prescelti una o più parole consecutive presenti nelle schede"),
      look.whatToFind,
      QStringLiteral("Lasciare in bianco gli altri campi."),
      QStringLiteral("Per ogni ricerca è possibile utilizzare uno o più campi contemporaneamente."),
  };
  const char* infoNames[] = {"lblInfo01", "lblInfo02", "lblInfo03", "lblInfo04"};
  for (int i = 0; i < 4; ++i)
    textLabel(grpCriteri, infoNames[i], instructions[i], QRect(10, 50 + 17 * i, kPage.width() - 20, 16), info);

  grpElenco->setObjectName(QStringLiteral("grpElenco"));
  grpElenco->setGeometry(kPage);
  textLabel(grpElenco, "lblInfo05",
            QStringLiteral("Inserire una o più parole consecutive presenti nella scheda da cercare e premere il "
                           "pulsante Trova."),
            QRect(10, 14, kPage.width() - 20, 16), info);
  textLabel(grpElenco, "lblInfo06",
            QStringLiteral("Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di "
                           "nuovo clic su Trova."),
            QRect(10, 31, kPage.width() - 20, 16), info);
  results->place(QPoint(10, 54), QSize(kPage.width() - 20, 328));
  textLabel(grpElenco, "lblInfo07", QStringLiteral("Per richiamare i dati di una scheda, selezionarla con un doppio clic."),
            QRect(10, 418, kPage.width() - 20, 18), info, kMaroon);

  cmdIndietro->setGeometry(8, kButtonTop, 120, kButtonHeight);
  cmdStampa->setGeometry(136, kButtonTop, 100, kButtonHeight);
  cmdTrova->setGeometry(kWidth - 216, kButtonTop, 100, kButtonHeight);
  cmdAnnulla->setGeometry(kWidth - 108, kButtonTop, 100, kButtonHeight);
  cmdTrova->setObjectName(QStringLiteral("cmdTrova"));
  cmdIndietro->setObjectName(QStringLiteral("cmdIndietro"));
  cmdStampa->setObjectName(QStringLiteral("cmdStampa"));
  cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
  for (QPushButton* b : {cmdTrova, cmdIndietro, cmdStampa, cmdAnnulla}) b->setFocusPolicy(Qt::NoFocus);

  onClick(cmdTrova, this, [this] { cmdTrovaClick(); });
  onClick(cmdIndietro, this, [this] { cmdIndietroClick(); });
  onClick(cmdStampa, this, [this] { cmdStampaClick(); });
  onClick(cmdAnnulla, this, [this] { close(); });
  results->onPick = [this](const std::optional<Text>& line) {
    // Whatever fails on the way, no line selected included, loads nothing;
    // the window closes all the same.
    try {
      if (line) pick(*line);
    } catch (...) {
    }
    close();
  };
  showCriteria();
}

void SearchWindow::addCriteria(std::initializer_list<CriterionBox> boxes) {
  const CaptionStyle captions{uiFont(FontFamily::Verdana, pt(8)), 17, 16};
  int i = 0;
  for (const CriterionBox& b : boxes) {
    const QRect where(kColumns[i % 2], kCriteriaTop + (i / 2) * kCriteriaPitch, kColumnWidth, kBoxHeight);
    QLineEdit* box = captionedEdit(grpCriteri, b.name, QString::fromUtf8(b.caption), where, captions);
    box->setFont(look_.criteriaFont);
    criteria_.append(box);
    fields_.push_back(b.field);
    ++i;
  }
  QList<QWidget*> chain(criteria_.begin(), criteria_.end());
  applyFocusColours(chain, kMoneyGreen);
  installEnterChain(chain);
  criteria_.first()->setFocus();
}

int SearchWindow::searchFor(SearchCaller caller) {
  lblMemory->setText(callerTag(caller));
  return flow().runModal(*this);
}

bool SearchWindow::calledBy(SearchCaller caller) const { return trimmed(lblMemory->text()) == callerTag(caller); }

void SearchWindow::cmdTrovaClick() {
  Criteria criteria;
  filled_ = 0;
  for (int i = 0; i < criteria_.size(); ++i) {
    const QString typed = criteria_[i]->text();
    if (!trimmed(typed).isEmpty()) ++filled_;
    criteria.push_back({fields_[static_cast<size_t>(i)], fromQ(typed)});
  }
  if (lblConta) lblConta->setText(QString::number(filled_));
  TextList lines;
  bool finished = false;
  const bool reached = withArchive(this, [&] {
    finished = runLongWork(this, QStringLiteral("Ricerca in corso..."),
                           [&](const Progress& progress) { lines = search(criteria, progress); });
  });
  if (reached && finished) showResults(std::move(lines));
}

void SearchWindow::cmdIndietroClick() {
  filled_ = 0;
  if (lblConta) lblConta->setText(QStringLiteral("0"));
  showCriteria();
}

void SearchWindow::cmdStampaClick() { printList(this, results->lines(), look_.printed, supplyName()); }

void SearchWindow::showResults(TextList lines) {
  results->setLines(std::move(lines));
  grpCriteri->hide();
  grpElenco->show();
  cmdTrova->setEnabled(false);
  cmdIndietro->setEnabled(true);
  cmdStampa->setEnabled(true);
  results->resetFind();
  results->focusFind();
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

void SearchWindow::showEvent(QShowEvent* event) {
  Dialog::showEvent(event);
  if (event->spontaneous()) return;
  results->resetFind();
  if (results->count() > 0) results->selectRow(0);
}

void SearchWindow::done(int result) {
  for (QLineEdit* box : criteria_) box->clear();
  filled_ = 0;
  if (lblConta) lblConta->setText(QStringLiteral("0"));
  showCriteria();
  Dialog::done(result);
}

}  // namespace zel
