#include "supplies/crea.h"

#include <QResizeEvent>
#include <QShowEvent>

#include "help/helptopics.h"
#include "store/supplyfiles.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"

namespace zel {

namespace {

const QString kRefusedTitle = QStringLiteral("Salvataggio fornitura non applicabile");

}  // namespace

TfrmCrea::TfrmCrea(QWidget* parent)
    : MainScreen(QStringLiteral("frmCrea"), QStringLiteral(" Zelvano © - Creazione nuova fornitura"), parent) {
  setMinimumSize(1022, 738);
  QWidget* card =
      headedCard(container(), "shpScheda", QStringLiteral("Crea nuova fornitura"), QRect(97, 154, 800, 380));

  imgDecor = pictureLabel(card, "imgDecor", QStringLiteral(":/art/riquadro_forniture.jpg"), QRect(24, 62, 144, 265),
                          Qt::AlignLeft | Qt::AlignVCenter);

  const int left = 196, width = 580;
  lblInfo01 =
      instructionLabel(card, "lblInfo01",
                       QStringLiteral("Indicare il nome della nuova fornitura che si intende creare nella casella "
                                      "di testo sottostante e premere il pulsante Applica e chiudi."),
                       QRect(left, 60, width, 44));

  panTitolo = new QLabel(QStringLiteral("Nome fornitura:"), card);
  panTitolo->setObjectName(QStringLiteral("panTitolo"));
  panTitolo->setGeometry(left, 116, width, 28);
  panTitolo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  panTitolo->setStyleSheet(QStringLiteral(
      "background: #008000; color: white; padding-left: 8px; font-family: Verdana; font-size: 10pt;"
      " font-weight: bold;"));

  txtClasse = new QLineEdit(card);
  txtClasse->setObjectName(QStringLiteral("txtClasse"));
  txtClasse->setGeometry(left, 144, width, 36);
  txtClasse->setMaxLength(supplyfiles::kMaxNameChars);
  QFont nameFont(QStringLiteral("Verdana"));
  nameFont.setPixelSize(16);
  nameFont.setBold(true);
  txtClasse->setFont(nameFont);
  applyFocusColour(txtClasse, Qt::white);
  // The characters a file name cannot hold are simply not typed.
  installKeyFilter(txtClasse, [](QChar c) { return !supplyfiles::isForbiddenNameChar(c.unicode()); });

  lblInfo02 = instructionLabel(card, "lblInfo02",
                               QStringLiteral("Il nome attribuito alla fornitura apparirà nell'elenco di selezione "
                                              "visualizzato attraverso la funzione Apri fornitura esistente. "),
                               QRect(left, 198, width, 44));
  lblInfo03 =
      instructionLabel(card, "lblInfo03",
                       QStringLiteral("Per uscire da questa schermata senza creare una nuova fornitura fare clic "
                                      "sul pulsante Annulla. "),
                       QRect(left, 250, width, 44));

  imgApplica = plateCommand(card, "imgApplica", QStringLiteral(":/art/cmd_check.png"),
                            QStringLiteral("Applica e chiudi"), QRect(left, 318, 210, 44));
  imgAnnulla = plateCommand(card, "imgAnnulla", QStringLiteral(":/art/cmd_esci.png"), QStringLiteral("Annulla"),
                            QRect(left + 226, 318, 150, 44));
  imgGuida = plateCommand(card, "imgGuida", QStringLiteral(":/art/cmd_guida.png"), QStringLiteral("Guida"),
                          QRect(left + width - 120, 318, 120, 44));
  imgGuida->setToolTip(QStringLiteral(" Guida "));

  btnSfondo = addTileCarrier(QStringLiteral(":/art/card_tile.png"));

  wireCommands<TfrmCrea>(this, nullptr, {
      {imgApplica, &TfrmCrea::imgApplicaClick, nullptr},
      {imgAnnulla, &TfrmCrea::imgAnnullaClick, nullptr},
      {imgGuida, &TfrmCrea::imgGuidaClick, nullptr},
  });
}

void TfrmCrea::FormShow() {
  setBackgroundTile(QStringLiteral(":/art/card_tile.png"));
  txtClasse->clear();
  txtClasse->setFocus();
}

void TfrmCrea::resizeEvent(QResizeEvent* event) {
  MainScreen::resizeEvent(event);
  // This window sits 4 pixels further right than the other main screens.
  container()->move(container()->pos() + QPoint(4, 0));
}

void TfrmCrea::warn(const QString& text) {
  services().box(this, text, kRefusedTitle, MsgIcon::Warning, MsgButtons::Ok);
  txtClasse->setFocus();
}

void TfrmCrea::imgApplicaClick() {
  guarded(this, [this] { createSupply(); });
}

void TfrmCrea::createSupply() {
  supplyfiles::CreateResult r;
  try {
    r = supplyfiles::createSupply(programFolder(), txtClasse->text().toUtf8().toStdString());
  } catch (const SupplyFileError& e) {
    // The window stays open with the name in the box; nothing was created.
    services().message(this, QString::fromUtf8(e.what()));
    return;
  }
  const QString boxText = QString::fromUtf8(r.boxText);
  if (boxText != txtClasse->text()) txtClasse->setText(boxText);

  switch (r.outcome) {
    case supplyfiles::CreateOutcome::NameMissing:
      warn(QStringLiteral("Impossibile creare la nuova fornitura in quanto non è stato indicato alcun nome.\r\n\r\n"
                          "Inserire il nome della fornitura nella casella di testo prima di premere il pulsante "
                          "Applica e chiudi."));
      return;
    case supplyfiles::CreateOutcome::NameInUse:
      warn(QStringLiteral("Il nome della fornitura indicato già esiste in archivio.\r\n\r\n"
                          "Inserire un nome diverso oppure, se si desidera visualizzare una fornitura già creata, "
                          "utilizzare la funzione Apri fornitura esistente."));
      return;
    case supplyfiles::CreateOutcome::NameTooLong:
      warn(QStringLiteral("Il nome della fornitura indicato è troppo lungo per essere usato come nome di file.\r\n\r\n"
                          "Inserire un nome più breve prima di premere il pulsante Applica e chiudi."));
      return;
    case supplyfiles::CreateOutcome::Created:
      break;
  }
  services().box(this,
                 QStringLiteral("Il file relativo alla nuova fornitura è stato creato con successo.\r\n\r\n"
                                "E' ora possibile visualizzarlo nell'elenco delle forniture esistenti."),
                 QStringLiteral("Salvataggio fornitura effettuato"), MsgIcon::Information, MsgButtons::Ok);
  close();
}

void TfrmCrea::imgAnnullaClick() { close(); }

void TfrmCrea::imgGuidaClick() {
  guarded(this, [this] {
    flow().showHelp(help::createSupplyTopic());
  });
}

}  // namespace zel
