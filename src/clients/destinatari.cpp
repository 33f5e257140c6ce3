#include "clients/destinatari.h"

#include <QUrl>

#include "attach/allegatides.h"
#include "attach/cartellades.h"
#include "checks/carta.h"
#include "checks/codfisc.h"
#include "checks/iban.h"
#include "checks/iva.h"
#include "clients/cercadestinatari.h"
#include "help/helptopics.h"
#include "output/officeexport.h"
#include "store/archives.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"

namespace zel {
namespace {

const QColor kPanelFace{236, 233, 216};

}  // namespace

TfrmDestinatari::TfrmDestinatari(QWidget* parent)
    : CardScreen(QStringLiteral("frmDestinatari"), QStringLiteral(" Zelvano © - Anagrafica clienti"), clientLayout(),
                 [] { return clientArchive(programFolder()); }, parent) {
  setBackgroundTile(QStringLiteral(":/art/card_tile.png"));
  panInfo = statusPanel();
  buildToolbar();
  buildPanels();
  bindCard();
  wireCommands();
  setRules();
}

// ---- construction ----

QGroupBox* TfrmDestinatari::toolGroup(const char* name, int left, int width) {
  auto* g = new QGroupBox(container());
  g->setObjectName(QString::fromLatin1(name));
  g->setGeometry(left, 10, width, 60);
  return g;
}

QLineEdit* TfrmDestinatari::edit(const char* name, QWidget* parent, const QString& text, int left, int top,
                                 int width, int captionWidth) {
  const QFont captionFont = uiFont(FontFamily::Verdana, pt(8));
  if (captionWidth < 0)  // caption above the box
    return captionedEdit(parent, name, text, QRect(left, top + 17, width, 21), {captionFont, 17, 16});
  return captionLeftEdit(parent, name, text, QRect(left, top + 2, captionWidth, 17),
                         QRect(left + captionWidth, top, width, 21), captionFont);
}

void TfrmDestinatari::buildToolbar() {
  const QRect icon(10, 17, 32, 32);
  grpControlli = toolGroup("grpControlli", 10, 141);
  cmdNuovo = iconCommand(grpControlli, "cmdNuovo", QStringLiteral(":/art/cmd_nuovo.png"), QRect(10, 17, 32, 32));
  cmdSalva = iconCommand(grpControlli, "cmdSalva", QStringLiteral(":/art/cmd_salva.png"), QRect(55, 17, 32, 32));
  cmdRicerca =
      iconCommand(grpControlli, "cmdRicerca", QStringLiteral(":/art/cmd_ricerca.png"), QRect(100, 17, 32, 32));
  createAttachmentFields(grpControlli);

  grpWord = toolGroup("grpWord", 158, 52);
  cmdWord = iconCommand(grpWord, "cmdWord", QStringLiteral(":/art/cmd_word.png"), icon);
  grpExcel = toolGroup("grpExcel", 217, 52);
  cmdExcel = iconCommand(grpExcel, "cmdExcel", QStringLiteral(":/art/cmd_excel.png"), icon);

  grpFrecce = toolGroup("grpFrecce", 276, 199);
  imgPrimo = iconCommand(grpFrecce, "imgPrimo", QStringLiteral(":/art/nav_primo.png"), QRect(4, 17, 30, 32));
  imgIndietro = iconCommand(grpFrecce, "imgIndietro", QStringLiteral(":/art/nav_indietro.png"), QRect(34, 17, 30, 32));
  lblPosizione = positionLabel(grpFrecce, QRect(65, 17, 69, 32), pt(10), false);
  imgAvanti = iconCommand(grpFrecce, "imgAvanti", QStringLiteral(":/art/nav_avanti.png"), QRect(135, 17, 30, 32));
  imgUltimo = iconCommand(grpFrecce, "imgUltimo", QStringLiteral(":/art/nav_ultimo.png"), QRect(165, 17, 30, 32));

  grpAllega = toolGroup("grpAllega", 482, 52);
  cmdAllega = iconCommand(grpAllega, "cmdAllega", QStringLiteral(":/art/cmd_allega.png"), icon);
  grpAssocia = toolGroup("grpAssocia", 540, 52);
  cmdAssocia = iconCommand(grpAssocia, "cmdAssocia", QStringLiteral(":/art/cmd_associa.png"), icon);

  grpDecoro = toolGroup("grpDecoro", 599, 210);
  imgDecoro = pictureLabel(grpDecoro, "imgDecoro", QStringLiteral(":/art/decor_clienti.jpg"), QRect(0, 2, 210, 56));

  grpGuida = toolGroup("grpGuida", 815, 52);
  cmdGuida = iconCommand(grpGuida, "cmdGuida", QStringLiteral(":/art/cmd_guida.png"), icon);
  grpElimina = toolGroup("grpElimina", 874, 52);
  cmdElimina = iconCommand(grpElimina, "cmdElimina", QStringLiteral(":/art/cmd_elimina.png"), icon);
  grpEsci = toolGroup("grpEsci", 933, 52);
  cmdEsci = iconCommand(grpEsci, "cmdEsci", QStringLiteral(":/art/cmd_esci.png"), icon);
}

void TfrmDestinatari::buildPanels() {
  const QString check = QStringLiteral(":/art/cmd_check.png");

  panRiquadro07 = raisedPanel(container(), "panRiquadro07", QRect(10, 78, 144, 265), kPanelFace);
  imgRiquadro =
      pictureLabel(panRiquadro07, "imgRiquadro", QStringLiteral(":/art/riquadro_clienti.jpg"), QRect(0, 0, 144, 265));

  // Identity and address.
  panRiquadro01 = raisedPanel(container(), "panRiquadro01", QRect(164, 78, 429, 264), kPanelFace);
  txtCodice = edit("txtCodice", panRiquadro01, QStringLiteral("Codice identificativo:"), 12, 8, 405);
  txtPersona = edit("txtPersona", panRiquadro01, QStringLiteral("Cliente (persona o azienda):"), 12, 58, 405);
  txtUfficio = edit("txtUfficio", panRiquadro01, QStringLiteral("Ufficio o altri dettagli:"), 12, 108, 405);
  txtIndirizzo = edit("txtIndirizzo", panRiquadro01, QStringLiteral("Indirizzo:"), 12, 158, 405);
  txtCitta = edit("txtCitta", panRiquadro01, QStringLiteral("CAP, città e sigla provincia:"), 12, 208, 405);

  // Identity document.
  panRiquadro02 = raisedPanel(container(), "panRiquadro02", QRect(599, 78, 387, 171), kPanelFace);
  txtTipoDoc = edit("txtTipoDoc", panRiquadro02, QStringLiteral("Tipo documento:"), 12, 6, 205);
  txtNumDoc = edit("txtNumDoc", panRiquadro02, QStringLiteral("Numero:"), 225, 6, 150);
  txtEnteDoc = edit("txtEnteDoc", panRiquadro02, QStringLiteral("Ente di rilascio:"), 12, 58, 363);
  txtRilDoc = edit("txtRilDoc", panRiquadro02, QStringLiteral("Data di rilascio:"), 12, 110, 178);
  txtScaDoc = edit("txtScaDoc", panRiquadro02, QStringLiteral("Data di scadenza:"), 197, 110, 178);

  // Tax code and VAT number.
  panRiquadro03 = raisedPanel(container(), "panRiquadro03", QRect(600, 258, 387, 84), kPanelFace);
  txtCodFisc = edit("txtCodFisc", panRiquadro03, QStringLiteral("Codice fiscale:"), 12, 14, 205, 118);
  chkCodFisc = iconCommand(panRiquadro03, "chkCodFisc", check, QRect(341, 10, 30, 28));
  txtIva = edit("txtIva", panRiquadro03, QStringLiteral("Partita IVA:"), 12, 48, 205, 118);
  chkIva = iconCommand(panRiquadro03, "chkIva", check, QRect(341, 44, 30, 28));

  // Card and bank.
  panRiquadro04 = raisedPanel(container(), "panRiquadro04", QRect(10, 352, 583, 168), kPanelFace);
  txtCarta = edit("txtCarta", panRiquadro04, QStringLiteral("Carta di credito n."), 12, 6, 210);
  chkNumCarta = iconCommand(panRiquadro04, "chkNumCarta", check, QRect(224, 19, 30, 28));
  txtTipoCarta = edit("txtTipoCarta", panRiquadro04, QStringLiteral("Tipo:"), 262, 6, 150);
  txtScaCarta = edit("txtScaCarta", panRiquadro04, QStringLiteral("Scadenza:"), 420, 6, 151);
  txtIban = edit("txtIban", panRiquadro04, QStringLiteral("Codice IBAN:"), 12, 58, 210);
  chkIban = iconCommand(panRiquadro04, "chkIban", check, QRect(224, 71, 30, 28));
  txtBanca = edit("txtBanca", panRiquadro04, QStringLiteral("Banca:"), 262, 58, 309);
  txtIntestatario =
      edit("txtIntestatario", panRiquadro04, QStringLiteral("Intestatario C/C:"), 12, 110, 242);
  txtPagamento =
      edit("txtPagamento", panRiquadro04, QStringLiteral("Modalità di pagamento:"), 262, 110, 309);

  // Telephones and e-mail.
  panRiquadro05 = raisedPanel(container(), "panRiquadro05", QRect(600, 352, 387, 168), kPanelFace);
  txtTelCasa = edit("txtTelCasa", panRiquadro05, QStringLiteral("Tel. casa:"), 12, 6, 178);
  txtTelUff = edit("txtTelUff", panRiquadro05, QStringLiteral("Tel. ufficio:"), 197, 6, 178);
  txtTelCel = edit("txtTelCel", panRiquadro05, QStringLiteral("Tel. cellulare:"), 12, 58, 178);
  txtFax = edit("txtFax", panRiquadro05, QStringLiteral("Fax:"), 197, 58, 178);
  txtEmail = edit("txtEmail", panRiquadro05, QStringLiteral("E-mail:"), 12, 110, 325);
  imgEmail = iconCommand(panRiquadro05, "imgEmail", QStringLiteral(":/art/cmd_email.png"), QRect(341, 123, 34, 28));

  // Notes.
  panRiquadro06 = raisedPanel(container(), "panRiquadro06", QRect(10, 529, 977, 124), kPanelFace);
  txtNote = new QPlainTextEdit(panRiquadro06);
  txtNote->setObjectName(QStringLiteral("txtNote"));
  txtNote->setGeometry(12, 23, 953, 92);
  txtNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtNote->setTabChangesFocus(true);
  captionFor(txtNote, QStringLiteral("Note:"), QRect(12, 6, 300, 16), uiFont(FontFamily::Verdana, pt(8)));

  const QList<QWidget*> fields = dataControls();
  for (QWidget* f : fields) {
    f->setFont(uiFont(FontFamily::Verdana, pt(8), Bold));
    QPalette p = f->palette();
    p.setColor(QPalette::Text, Qt::black);
    f->setPalette(p);
  }
  applyFocusColours(fields, kMoneyGreen);
  installEnterChain(fields);

}

QList<QWidget*> TfrmDestinatari::dataControls() const {
  return {txtCodice,   txtPersona,   txtUfficio,  txtIndirizzo, txtCitta,        txtTipoDoc, txtNumDoc,
          txtEnteDoc,  txtRilDoc,    txtScaDoc,   txtCodFisc,   txtIva,          txtCarta,   txtTipoCarta,
          txtScaCarta, txtIban,      txtBanca,    txtIntestatario, txtPagamento, txtTelCasa, txtTelUff,
          txtTelCel,   txtFax,       txtEmail,    txtNote};
}

void TfrmDestinatari::wireCommands() {
  wireSaveAndNavigation(cmdSalva, imgPrimo, imgIndietro, imgAvanti, imgUltimo);
  zel::wireCommands<TfrmDestinatari>(this, panInfo, {
      {cmdNuovo, &TfrmDestinatari::newCardCommand, " Prepara la schermata ad accogliere una nuova scheda."},
      {cmdRicerca, &TfrmDestinatari::cmdRicercaClick, " Trova una scheda in archivio."},
      {cmdWord, &TfrmDestinatari::cmdWordClick, " Esporta la scheda corrente in un file di Microsoft Word."},
      {cmdExcel, &TfrmDestinatari::cmdExcelClick, " Esporta l'archivio corrente in un foglio di Microsoft Excel."},
      {cmdElimina, &TfrmDestinatari::deleteCommand, " Elimina la scheda corrente dall'archivio."},
      {cmdGuida, &TfrmDestinatari::helpCommand, " Visualizza una pagina della guida in linea sensibile al contesto."},
      {cmdEsci, &TfrmDestinatari::exitCommand, " Esce dalla schermata di lavoro corrente."},
      {chkCodFisc, &TfrmDestinatari::chkCodFiscClick, " Controlla il codice fiscale."},
      {chkIva, &TfrmDestinatari::chkIvaClick, " Controlla il numero di partita IVA."},
      {chkNumCarta, &TfrmDestinatari::chkNumCartaClick, " Controlla il numero di carta di credito."},
      {chkIban, &TfrmDestinatari::chkIbanClick, " Controlla le coordinate bancarie IBAN."},
      {imgEmail, &TfrmDestinatari::imgEmailClick, " Invia un messaggio e-mail all'indirizzo indicato."},
      {cmdAllega, &TfrmDestinatari::attachmentsCommand, " Allega file alla scheda corrente."},
      {cmdAssocia, &TfrmDestinatari::folderCommand, " Associa una cartella alla scheda corrente."},
  });
  installStatusTexts(panInfo, {},
                     {this, container(), grpControlli, grpWord, grpExcel, grpFrecce, grpAllega, grpAssocia, grpDecoro,
                      grpGuida, grpElimina, grpEsci, panRiquadro01, panRiquadro02, panRiquadro03, panRiquadro04,
                      panRiquadro05, panRiquadro06, panRiquadro07});
}

// The digit fields, the upper-cased codes, what saving needs and what
// deleting says.
void TfrmDestinatari::setRules() {
  installDigitFilter(txtIva, QStringLiteral("Attenzione: carattere non valido. Indicare il numero di partita IVA "
                                            "digitando solo valori numerici."));
  installDigitFilter(txtCarta, QStringLiteral("Attenzione: carattere non valido. Indicare il numero di carta di "
                                              "credito digitando solo valori numerici senza trattini o spazi."));
  installLiveUpperCase(txtCodFisc);
  installLiveUpperCase(txtIban);

  const QString notApplicable = QStringLiteral("Salvataggio scheda non applicabile");
  setMandatoryFields({
      {txtCodice,
       {txtCodice,
        QStringLiteral(
            "Per salvare la scheda è necessario indicare il codice identificativo della persona o azienda."),
        notApplicable, MsgIcon::Warning}},
      {txtPersona,
       {txtPersona, QStringLiteral("Per salvare la scheda è necessario indicare il nome della persona o azienda."),
        notApplicable, MsgIcon::Warning}},
  });
  setDeleteTexts({
      {nullptr,
       QStringLiteral("La cancellazione può essere applicata soltanto ad una scheda già registrata in archivio."),
       QStringLiteral("Attenzione: operazione non applicabile"), MsgIcon::Warning},
      QStringLiteral("Attenzione: si è deciso di eliminare la scheda corrente. I dati cancellati non potranno essere "
                     "recuperati.\r\n\r\nSi vuole proprio eliminare la scheda corrente?"),
      QStringLiteral("Conferma cancellazione scheda"),
      MsgIcon::Question,
  });
}

// ---- windows opened from the card ----

void TfrmDestinatari::cmdRicercaClick() {
  TfrmCercaDestinatari search(this);
  search.searchFor(SearchCaller::ClientCard);
}

void TfrmDestinatari::cmdWordClick() {
  if (trimmed(txtCodice->text()).isEmpty()) {
    Refusal{txtCodice,
            QStringLiteral("Per poter esportare la scheda corrente in Microsoft Word è necessario compilare il campo "
                           "codice identificativo."),
            QStringLiteral("Esportazione scheda non applicabile"), MsgIcon::Warning}
        .show(this);
    return;
  }
  exportCardToWord(this, clientCardDocument(cardFields(binding())));
}

void TfrmDestinatari::cmdExcelClick() {
  if (QDialog* exportWindow = windowAs<QDialog>(WindowId::ClientExport)) flow().runModal(*exportWindow);
}

std::unique_ptr<AttachmentsWindow> TfrmDestinatari::newAttachmentsWindow() {
  return std::make_unique<TfrmAllegatiDes>(this);
}

std::unique_ptr<FolderWindow> TfrmDestinatari::newFolderWindow() { return std::make_unique<TfrmCartellaDes>(this); }

void TfrmDestinatari::chkCodFiscClick() {
  const QString code = trimmed(txtCodFisc->text());
  if (isDigitsOnly(fromQ(code))) {
    // A numeric tax code is checked like a VAT number.
    TfrmIva check(this);
    check.relabelForNumericTaxCode();
    check.check(code, txtCodFisc);
  } else {
    TfrmCodFisc(this).check(code, txtCodFisc);
  }
}

void TfrmDestinatari::chkIvaClick() { TfrmIva(this).check(trimmed(txtIva->text()), txtIva); }
void TfrmDestinatari::chkNumCartaClick() { TfrmCarta(this).check(trimmed(txtCarta->text()), txtCarta); }
void TfrmDestinatari::chkIbanClick() { TfrmIban(this).check(trimmed(txtIban->text()), txtIban); }

// ---- e-mail, help, exit ----

QUrl TfrmDestinatari::mailtoUrl(const QString& address) {
  // Everything but letters, digits, "-._~" and "@" is percent-encoded: a "?",
  // "&" or "#" in the address stays part of the address.
  const QByteArray encoded = QUrl::toPercentEncoding(trimmed(address), QByteArrayLiteral("@"));
  return QUrl::fromEncoded(QByteArrayLiteral("mailto:") + encoded, QUrl::StrictMode);
}

void TfrmDestinatari::imgEmailClick() {
  WaitCursor wait;
  services().openUrl(mailtoUrl(txtEmail->text()));
}

HelpTopic TfrmDestinatari::helpTopic() const { return help::clientCardTopic(); }

}  // namespace zel
