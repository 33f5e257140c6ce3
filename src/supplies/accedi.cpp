#include "supplies/accedi.h"

#include <QCloseEvent>
#include <QShowEvent>

#include "help/helptopics.h"
#include "store/storeerror.h"
#include "store/supplyfiles.h"
#include "supplies/forniture.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"

namespace zel {
namespace {

const QString kBackHome = QStringLiteral("avvio");
const QString kOpenSupply = QStringLiteral("forniture");

// The failure text of this window (it speaks of data, not of the archive).
QString dataAccessMessage() {
  return QStringLiteral(
      "Attenzione: il sistema non permette di accedere ai dati.\n\r\n\r"
      "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");
}

}  // namespace

TfrmAccedi::TfrmAccedi(QWidget* parent)
    : MainScreen(QStringLiteral("frmAccedi"), QStringLiteral(" Zelvano © - Apri fornitura esistente"), parent) {
  setMinimumSize(1022, 738);
  QWidget* card =
      headedCard(container(), "shpScheda", QStringLiteral("Apri fornitura esistente"), QRect(97, 44, 800, 600));
  const int left = 24, width = 752;

  lblInfo01 =
      instructionLabel(card, "lblInfo01",
                       QStringLiteral("Selezionare la fornitura a cui si vuole accedere nell'elenco sottostante e "
                                      "premere il pulsante Apri fornitura selezionata."),
                       QRect(left, 56, width, 40));

  lstClassi = new QListWidget(card);
  lstClassi->setObjectName(QStringLiteral("lstClassi"));
  lstClassi->setGeometry(left, 102, width, 340);
  lstClassi->setSelectionMode(QAbstractItemView::SingleSelection);
  lstClassi->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QFont listFont(QStringLiteral("Verdana"));
  listFont.setPixelSize(16);
  lstClassi->setFont(listFont);
  lstClassi->setSpacing(1);
  QPalette lp = lstClassi->palette();
  lp.setColor(QPalette::Base, QColor(204, 255, 204));
  lp.setColor(QPalette::Text, Qt::black);
  lstClassi->setPalette(lp);

  lblTotale = new QLabel(card);
  lblTotale->setObjectName(QStringLiteral("lblTotale"));
  lblTotale->setGeometry(left, 446, width, 22);
  lblTotale->setStyleSheet(QStringLiteral(
      "color: #000080; font-family: Verdana; font-size: 10pt; font-style: italic;"));

  lblMemory = new QLabel(kBackHome, this);
  lblMemory->setObjectName(QStringLiteral("lblMemory"));
  lblMemory->setVisible(false);

  imgApri = plateCommand(card, "imgApri", QStringLiteral(":/art/nav_avanti.png"),
                         QStringLiteral("Apri fornitura selezionata"), QRect(left, 482, 270, 44));
  imgAnnulla = plateCommand(card, "imgAnnulla", QStringLiteral(":/art/cmd_esci.png"), QStringLiteral("Annulla"),
                            QRect(left + 286, 482, 150, 44));
  btnCancella = plateCommand(card, "btnCancella", QStringLiteral(":/art/cmd_elimina.png"), QStringLiteral("Elimina"),
                             QRect(left + width - 270, 482, 134, 44));
  btnCancella->setToolTip(QStringLiteral(" Elimina fornitura selezionata "));
  btnCancella->setStyleSheet(btnCancella->styleSheet().replace(QStringLiteral("#000080"), QStringLiteral("#800000"))
                                 .replace(QStringLiteral("#1c1ca8"), QStringLiteral("#a82020")));
  imgGuida = plateCommand(card, "imgGuida", QStringLiteral(":/art/cmd_guida.png"), QStringLiteral("Guida"),
                          QRect(left + width - 120, 482, 120, 44));
  imgGuida->setToolTip(QStringLiteral(" Guida "));

  lblInfo02 =
      instructionLabel(card, "lblInfo02",
                       QStringLiteral("Fare clic sul pulsante Annulla per uscire da questo ambiente e tornare nella "
                                      "schermata di avvio."),
                       QRect(left, 544, width, 40));

  btnSfondo = addTileCarrier(QStringLiteral(":/art/card_tile.png"));

  connect(lstClassi, &QListWidget::itemDoubleClicked, this, &TfrmAccedi::lstClassiDblClick);
  wireCommands<TfrmAccedi>(this, nullptr, {
      {imgApri, &TfrmAccedi::imgApriClick, nullptr},
      {imgAnnulla, &TfrmAccedi::imgAnnullaClick, nullptr},
      {btnCancella, &TfrmAccedi::btnCancellaClick, nullptr},
      {imgGuida, &TfrmAccedi::imgGuidaClick, nullptr},
  });
}

void TfrmAccedi::FormShow() {
  setBackgroundTile(QStringLiteral(":/art/card_tile.png"));
  fillList();
  lblMemory->setText(kBackHome);
}

bool TfrmAccedi::fillList() {
  lstClassi->clear();
  lblTotale->clear();
  std::vector<std::string> entries;
  try {
    entries = supplyfiles::listSupplies(programFolder());
  } catch (const std::exception&) {
    services().message(this, dataAccessMessage());
    return false;
  }
  for (const std::string& entry : entries) {
    auto* item = new QListWidgetItem(QString::fromUtf8(entry), lstClassi);
    item->setData(kEntryRole, QByteArray::fromStdString(entry));
  }
  lblTotale->setText(QString::fromStdString(supplyfiles::countLine(entries.size())));
  lstClassi->clearSelection();
  lstClassi->setCurrentRow(-1);
  return true;
}

bool TfrmAccedi::selectedEntry(std::string& entry) const {
  const QList<QListWidgetItem*> selected = lstClassi->selectedItems();
  if (selected.isEmpty()) return false;
  entry = selected.first()->data(kEntryRole).toByteArray().toStdString();
  return true;
}

void TfrmAccedi::imgApriClick() {
  guarded(this, [this] {
    std::string entry;
    if (!selectedEntry(entry)) {
      services().box(this,
                     QStringLiteral("Fare clic sul nome della fornitura di interesse prima di premere il pulsante "
                                    "Apri fornitura selezionata.\r\n\r\nSe l'elenco non contiene la fornitura "
                                    "desiderata è necessario crearla utilizzando la funzione Crea nuova fornitura."),
                     QStringLiteral("Attenzione: nessuna fornitura selezionata"), MsgIcon::Warning, MsgButtons::Ok);
      return;
    }
    openSelected();
  });
}

void TfrmAccedi::lstClassiDblClick() {
  guarded(this, [this] {
    std::string entry;
    if (selectedEntry(entry)) openSelected();
  });
}

void TfrmAccedi::openSelected() {
  std::string entry;
  if (!selectedEntry(entry)) return;
  // The sheet finds its file again through a text label: a name the system
  // cannot spell back would lead it to another, empty file.
  if (!supplyfiles::isValidUtf8(entry)) {
    services().box(this,
                   QStringLiteral("Il nome del file della fornitura selezionata contiene caratteri che il sistema "
                                  "non riconosce.\r\n\r\nRinominare il file nella cartella del programma prima di "
                                  "aprire la fornitura."),
                   QStringLiteral("Apertura fornitura non applicabile"), MsgIcon::Warning, MsgButtons::Ok);
    return;
  }
  lblMemory->setText(kOpenSupply);
  close();
}

void TfrmAccedi::imgAnnullaClick() {
  lblMemory->setText(kBackHome);
  close();
}

void TfrmAccedi::closeEvent(QCloseEvent* event) {
  std::string entry;
  const bool open = lblMemory->text().trimmed() == kOpenSupply && selectedEntry(entry);
  lblMemory->setText(kBackHome);
  auto* sheet = windowAs<TfrmForniture>(WindowId::SupplySheet);
  if (!open || !sheet) {
    MainScreen::closeEvent(event);
    return;
  }
  event->accept();
  sheet->openSupply(pathToQ(supplyfiles::supplyPath(programFolder(), entry)),
                    QString::fromUtf8(supplyfiles::supplyName(entry)));
  moveTo(sheet);
}

void TfrmAccedi::btnCancellaClick() {
  guarded(this, [this] {
    std::string entry;
    if (!selectedEntry(entry)) {
      services().box(this,
                     QStringLiteral("Fare clic sul nome della fornitura di interesse prima di premere il pulsante "
                                    "Elimina fornitura selezionata.\r\n\r\nAttenzione: i dati cancellati non "
                                    "potranno essere recuperati."),
                     QStringLiteral("Nessuna fornitura selezionata"), MsgIcon::Warning, MsgButtons::Ok);
      return;
    }
    const MsgAnswer answer = services().box(
        this,
        QStringLiteral("Attenzione: si sta per eliminare la fornitura selezionata. I dati cancellati non potranno "
                       "essere recuperati.\r\n\r\nSi vuole proprio eliminare la fornitura selezionata?"),
        QStringLiteral("Conferma cancellazione fornitura"), MsgIcon::Question, MsgButtons::YesNo);
    if (answer != MsgAnswer::Yes) return;
    try {
      // A file that cannot be removed simply stays in the refreshed list.
      supplyfiles::deleteSupply(programFolder(), entry);
    } catch (const StoreBusy&) {
      services().message(this, archiveBusyMessage());  // another desk is working in it
    } catch (const std::exception&) {
      services().message(this, dataAccessMessage());
    }
    fillList();
    lblMemory->setText(kBackHome);
  });
}

void TfrmAccedi::imgGuidaClick() {
  guarded(this, [this] {
    flow().showHelp(help::openSupplyTopic());
  });
}

}  // namespace zel
