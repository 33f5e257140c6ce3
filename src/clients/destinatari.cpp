#include "clients/destinatari.h"

#include <QPixmap>
#include <QShowEvent>
#include <QUrl>

#include "app/forms.h"
#include "app/helpform.h"
#include "app/helptopics.h"
#include "attach/allegatides.h"
#include "attach/cartellades.h"
#include "checks/carta.h"
#include "checks/codfisc.h"
#include "checks/iban.h"
#include "checks/iva.h"
#include "clients/cercadestinatari.h"
#include "clients/esportades.h"
#include "store/archives.h"
#include "ui/programfolder.h"
#include "ui/services.h"

namespace zel {
namespace {

bool digitsOnly(const QString& text) {
  if (text.isEmpty()) return false;
  for (QChar c : text)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

QFont verdana(int points, bool bold) {
  QFont f(QStringLiteral("Verdana"));
  f.setPointSize(points);
  f.setBold(bold);
  return f;
}

const QColor kPanelFace{236, 233, 216};

const char* kCodiceMissing = "Per salvare la scheda è necessario indicare il codice identificativo della persona o azienda.";
const char* kPersonaMissing = "Per salvare la scheda è necessario indicare il nome della persona o azienda.";
const char* kSaveNotApplicable = "Salvataggio scheda non applicabile";
const char* kDeleteNotApplicable =
    "La cancellazione può essere applicata soltanto ad una scheda già registrata in archivio.";
const char* kDeleteNotApplicableTitle = "Attenzione: operazione non applicabile";
const char* kDeleteQuestion =
    "Attenzione: si è deciso di eliminare la scheda corrente. I dati cancellati non potranno essere "
    "recuperati.\r\n\r\nSi vuole proprio eliminare la scheda corrente?";
const char* kDeleteQuestionTitle = "Conferma cancellazione scheda";

}  // namespace

TfrmDestinatari::TfrmDestinatari(QWidget* parent)
    : MainScreen(QStringLiteral("frmDestinatari"), QStringLiteral(" Zelvano © - Anagrafica clienti"), parent) {
  setBackgroundTile(QStringLiteral(":/art/card_tile.png"));
  panInfo = statusPanel();
  buildToolbar();
  buildPanels();
  wireCommands();
  binding_ = std::make_unique<CardBinding>(this, clientLayout(), lblPosizione,
                                           [] { return clientArchive(programFolder()); });
  // The maximum lengths are the capacities of the record's fields.
  for (size_t i = 0; i < clientLayout().fieldCount(); ++i) {
    QWidget* c = binding_->control(i);
    if (auto* e = qobject_cast<QLineEdit*>(c)) e->setMaxLength(clientLayout().field(i).capacity);
    else if (auto* m = qobject_cast<QPlainTextEdit*>(c)) limitLength(m, clientLayout().field(i).capacity);
  }
}

TfrmDestinatari::~TfrmDestinatari() = default;

// ---- construction ----

QGroupBox* TfrmDestinatari::toolGroup(const char* name, int left, int width) {
  auto* g = new QGroupBox(container());
  g->setObjectName(QString::fromLatin1(name));
  g->setGeometry(left, 10, width, 60);
  return g;
}

QFrame* TfrmDestinatari::panel(const char* name, const QRect& where) {
  auto* p = new QFrame(container());
  p->setObjectName(QString::fromLatin1(name));
  p->setGeometry(where);
  p->setFrameStyle(QFrame::Panel | QFrame::Raised);
  p->setLineWidth(1);
  p->setAutoFillBackground(true);
  QPalette pal = p->palette();
  pal.setColor(QPalette::Window, kPanelFace);
  p->setPalette(pal);
  return p;
}

ClickLabel* TfrmDestinatari::command(const char* name, QWidget* parent, const QString& resource,
                                     const QRect& where) {
  auto* c = new ClickLabel(QString::fromLatin1(name), parent);
  c->setGeometry(where);
  c->setAlignment(Qt::AlignCenter);
  c->setPixmap(QPixmap(resource));
  return c;
}

QLabel* TfrmDestinatari::caption(QWidget* parent, const QString& text, const QRect& where) {
  auto* l = new QLabel(text, parent);
  l->setGeometry(where);
  l->setFont(verdana(8, false));
  l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return l;
}

QLineEdit* TfrmDestinatari::edit(const char* name, QWidget* parent, const QString& text, int left, int top,
                                 int width, int captionWidth) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  QLabel* l;
  if (captionWidth < 0) {  // caption above the box
    l = caption(parent, text, QRect(left, top, width, 16));
    e->setGeometry(left, top + 17, width, 21);
  } else {  // caption to the left of the box
    l = caption(parent, text, QRect(left, top + 2, captionWidth, 17));
    e->setGeometry(left + captionWidth, top, width, 21);
  }
  l->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(name).mid(3));
  l->setBuddy(e);
  return e;
}

void TfrmDestinatari::buildToolbar() {
  const QRect icon(10, 17, 32, 32);
  grpControlli = toolGroup("grpControlli", 10, 141);
  cmdNuovo = command("cmdNuovo", grpControlli, QStringLiteral(":/art/cmd_nuovo.png"), QRect(10, 17, 32, 32));
  cmdSalva = command("cmdSalva", grpControlli, QStringLiteral(":/art/cmd_salva.png"), QRect(55, 17, 32, 32));
  cmdRicerca =
      command("cmdRicerca", grpControlli, QStringLiteral(":/art/cmd_ricerca.png"), QRect(100, 17, 32, 32));
  lblFile01 = hiddenLabel(grpControlli, "lblFile01");
  lblFile02 = hiddenLabel(grpControlli, "lblFile02");
  lblFile03 = hiddenLabel(grpControlli, "lblFile03");
  lblDesc01 = hiddenLabel(grpControlli, "lblDesc01");
  lblDesc02 = hiddenLabel(grpControlli, "lblDesc02");
  lblDesc03 = hiddenLabel(grpControlli, "lblDesc03");
  lblCartella = hiddenLabel(grpControlli, "lblCartella");
  lblCartellaDesc = hiddenLabel(grpControlli, "lblCartellaDesc");

  grpWord = toolGroup("grpWord", 158, 52);
  cmdWord = command("cmdWord", grpWord, QStringLiteral(":/art/cmd_word.png"), icon);
  grpExcel = toolGroup("grpExcel", 217, 52);
  cmdExcel = command("cmdExcel", grpExcel, QStringLiteral(":/art/cmd_excel.png"), icon);

  grpFrecce = toolGroup("grpFrecce", 276, 199);
  imgPrimo = command("imgPrimo", grpFrecce, QStringLiteral(":/art/nav_primo.png"), QRect(4, 17, 30, 32));
  imgIndietro = command("imgIndietro", grpFrecce, QStringLiteral(":/art/nav_indietro.png"), QRect(34, 17, 30, 32));
  lblPosizione = new QLabel(grpFrecce);
  lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
  lblPosizione->setGeometry(65, 17, 69, 32);
  lblPosizione->setAlignment(Qt::AlignCenter);
  lblPosizione->setFont(verdana(10, true));
  lblPosizione->setTextFormat(Qt::PlainText);
  imgAvanti = command("imgAvanti", grpFrecce, QStringLiteral(":/art/nav_avanti.png"), QRect(135, 17, 30, 32));
  imgUltimo = command("imgUltimo", grpFrecce, QStringLiteral(":/art/nav_ultimo.png"), QRect(165, 17, 30, 32));

  grpAllega = toolGroup("grpAllega", 482, 52);
  cmdAllega = command("cmdAllega", grpAllega, QStringLiteral(":/art/cmd_allega.png"), icon);
  grpAssocia = toolGroup("grpAssocia", 540, 52);
  cmdAssocia = command("cmdAssocia", grpAssocia, QStringLiteral(":/art/cmd_associa.png"), icon);

  grpDecoro = toolGroup("grpDecoro", 599, 210);
  imgDecoro = new QLabel(grpDecoro);
  imgDecoro->setObjectName(QStringLiteral("imgDecoro"));
  imgDecoro->setGeometry(0, 2, 210, 56);
  imgDecoro->setAlignment(Qt::AlignCenter);
  imgDecoro->setPixmap(QPixmap(QStringLiteral(":/art/decor_clienti.jpg")));

  grpGuida = toolGroup("grpGuida", 815, 52);
  cmdGuida = command("cmdGuida", grpGuida, QStringLiteral(":/art/cmd_guida.png"), icon);
  grpElimina = toolGroup("grpElimina", 874, 52);
  cmdElimina = command("cmdElimina", grpElimina, QStringLiteral(":/art/cmd_elimina.png"), icon);
  grpEsci = toolGroup("grpEsci", 933, 52);
  cmdEsci = command("cmdEsci", grpEsci, QStringLiteral(":/art/cmd_esci.png"), icon);
}

void TfrmDestinatari::buildPanels() {
  const QString check = QStringLiteral(":/art/cmd_check.png");

  panRiquadro07 = panel("panRiquadro07", QRect(10, 78, 144, 265));
  imgRiquadro = new QLabel(panRiquadro07);
  imgRiquadro->setObjectName(QStringLiteral("imgRiquadro"));
  imgRiquadro->setGeometry(0, 0, 144, 265);
  imgRiquadro->setAlignment(Qt::AlignCenter);
  imgRiquadro->setPixmap(QPixmap(QStringLiteral(":/art/riquadro_clienti.jpg")));

  // Identity and address.
  panRiquadro01 = panel("panRiquadro01", QRect(164, 78, 429, 264));
  txtCodice = edit("txtCodice", panRiquadro01, QStringLiteral("Codice identificativo:"), 12, 8, 405);
  txtPersona = edit("txtPersona", panRiquadro01, QStringLiteral("Cliente (persona o azienda):"), 12, 58, 405);
  txtUfficio = edit("txtUfficio", panRiquadro01, QStringLiteral("Ufficio o altri dettagli:"), 12, 108, 405);
  txtIndirizzo = edit("txtIndirizzo", panRiquadro01, QStringLiteral("Indirizzo:"), 12, 158, 405);
  txtCitta = edit("txtCitta", panRiquadro01, QStringLiteral("CAP, città e sigla provincia:"), 12, 208, 405);

  // Identity document.
  panRiquadro02 = panel("panRiquadro02", QRect(599, 78, 387, 171));
  txtTipoDoc = edit("txtTipoDoc", panRiquadro02, QStringLiteral("Tipo documento:"), 12, 6, 205);
  txtNumDoc = edit("txtNumDoc", panRiquadro02, QStringLiteral("Numero:"), 225, 6, 150);
  txtEnteDoc = edit("txtEnteDoc", panRiquadro02, QStringLiteral("Ente di rilascio:"), 12, 58, 363);
  txtRilDoc = edit("txtRilDoc", panRiquadro02, QStringLiteral("Data di rilascio:"), 12, 110, 178);
  txtScaDoc = edit("txtScaDoc", panRiquadro02, QStringLiteral("Data di scadenza:"), 197, 110, 178);

  // Tax code and VAT number.
  panRiquadro03 = panel("panRiquadro03", QRect(600, 258, 387, 84));
  txtCodFisc = edit("txtCodFisc", panRiquadro03, QStringLiteral("Codice fiscale:"), 12, 14, 205, 118);
  chkCodFisc = command("chkCodFisc", panRiquadro03, check, QRect(341, 10, 30, 28));
  txtIva = edit("txtIva", panRiquadro03, QStringLiteral("Partita IVA:"), 12, 48, 205, 118);
  chkIva = command("chkIva", panRiquadro03, check, QRect(341, 44, 30, 28));

  // Card and bank.
  panRiquadro04 = panel("panRiquadro04", QRect(10, 352, 583, 168));
  txtCarta = edit("txtCarta", panRiquadro04, QStringLiteral("Carta di credito n."), 12, 6, 210);
  chkNumCarta = command("chkNumCarta", panRiquadro04, check, QRect(224, 19, 30, 28));
  txtTipoCarta = edit("txtTipoCarta", panRiquadro04, QStringLiteral("Tipo:"), 262, 6, 150);
  txtScaCarta = edit("txtScaCarta", panRiquadro04, QStringLiteral("Scadenza:"), 420, 6, 151);
  txtIban = edit("txtIban", panRiquadro04, QStringLiteral("Codice IBAN:"), 12, 58, 210);
  chkIban = command("chkIban", panRiquadro04, check, QRect(224, 71, 30, 28));
  txtBanca = edit("txtBanca", panRiquadro04, QStringLiteral("Banca:"), 262, 58, 309);
  txtIntestatario =
      edit("txtIntestatario", panRiquadro04, QStringLiteral("Intestatario C/C:"), 12, 110, 242);
  txtPagamento =
      edit("txtPagamento", panRiquadro04, QStringLiteral("Modalità di pagamento:"), 262, 110, 309);

  // Telephones and e-mail.
  panRiquadro05 = panel("panRiquadro05", QRect(600, 352, 387, 168));
  txtTelCasa = edit("txtTelCasa", panRiquadro05, QStringLiteral("Tel. casa:"), 12, 6, 178);
  txtTelUff = edit("txtTelUff", panRiquadro05, QStringLiteral("Tel. ufficio:"), 197, 6, 178);
  txtTelCel = edit("txtTelCel", panRiquadro05, QStringLiteral("Tel. cellulare:"), 12, 58, 178);
  txtFax = edit("txtFax", panRiquadro05, QStringLiteral("Fax:"), 197, 58, 178);
  txtEmail = edit("txtEmail", panRiquadro05, QStringLiteral("E-mail:"), 12, 110, 325);
  imgEmail = command("imgEmail", panRiquadro05, QStringLiteral(":/art/cmd_email.png"), QRect(341, 123, 34, 28));

  // Notes.
  panRiquadro06 = panel("panRiquadro06", QRect(10, 529, 977, 124));
  QLabel* lblNote = caption(panRiquadro06, QStringLiteral("Note:"), QRect(12, 6, 300, 16));
  lblNote->setObjectName(QStringLiteral("lblNote"));
  txtNote = new QPlainTextEdit(panRiquadro06);
  txtNote->setObjectName(QStringLiteral("txtNote"));
  txtNote->setGeometry(12, 23, 953, 92);
  txtNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtNote->setTabChangesFocus(true);
  lblNote->setBuddy(txtNote);

  const QList<QWidget*> fields = dataControls();
  for (QWidget* f : fields) {
    f->setFont(verdana(8, true));
    QPalette p = f->palette();
    p.setColor(QPalette::Text, Qt::black);
    f->setPalette(p);
  }
  applyFocusColours(fields, kMoneyGreen);
  installEnterChain(fields);

  installDigitFilter(txtIva, QStringLiteral("Attenzione: carattere non valido. Indicare il numero di partita IVA "
                                            "digitando solo valori numerici."));
  installDigitFilter(txtCarta, QStringLiteral("Attenzione: carattere non valido. Indicare il numero di carta di "
                                              "credito digitando solo valori numerici senza trattini o spazi."));
  installLiveUpperCase(txtCodFisc);
  installLiveUpperCase(txtIban);
}

QList<QWidget*> TfrmDestinatari::dataControls() const {
  return {txtCodice,   txtPersona,   txtUfficio,  txtIndirizzo, txtCitta,        txtTipoDoc, txtNumDoc,
          txtEnteDoc,  txtRilDoc,    txtScaDoc,   txtCodFisc,   txtIva,          txtCarta,   txtTipoCarta,
          txtScaCarta, txtIban,      txtBanca,    txtIntestatario, txtPagamento, txtTelCasa, txtTelUff,
          txtTelCel,   txtFax,       txtEmail,    txtNote};
}

void TfrmDestinatari::wireCommands() {
  const struct {
    ClickLabel* control;
    void (TfrmDestinatari::*slot)();
    const char* status;
  } commands[] = {
      {cmdNuovo, &TfrmDestinatari::cmdNuovoClick, " Prepara la schermata ad accogliere una nuova scheda."},
      {cmdSalva, &TfrmDestinatari::cmdSalvaClick,
       " Salva in archivio i dati relativi alla scheda corrente oppure aggiorna la scheda esistente."},
      {cmdRicerca, &TfrmDestinatari::cmdRicercaClick, " Trova una scheda in archivio."},
      {cmdWord, &TfrmDestinatari::cmdWordClick, " Esporta la scheda corrente in un file di Microsoft Word."},
      {cmdExcel, &TfrmDestinatari::cmdExcelClick, " Esporta l'archivio corrente in un foglio di Microsoft Excel."},
      {imgPrimo, &TfrmDestinatari::imgPrimoClick, " Visualizza la prima scheda in archivio."},
      {imgIndietro, &TfrmDestinatari::imgIndietroClick, " Visualizza la scheda precedente in archivio."},
      {imgAvanti, &TfrmDestinatari::imgAvantiClick, " Visualizza la scheda successiva in archivio."},
      {imgUltimo, &TfrmDestinatari::imgUltimoClick, " Visualizza l'ultima scheda in archivio"},
      {cmdElimina, &TfrmDestinatari::cmdEliminaClick, " Elimina la scheda corrente dall'archivio."},
      {cmdGuida, &TfrmDestinatari::cmdGuidaClick,
       " Visualizza una pagina della guida in linea sensibile al contesto."},
      {cmdEsci, &TfrmDestinatari::cmdEsciClick, " Esce dalla schermata di lavoro corrente."},
      {chkCodFisc, &TfrmDestinatari::chkCodFiscClick, " Controlla il codice fiscale."},
      {chkIva, &TfrmDestinatari::chkIvaClick, " Controlla il numero di partita IVA."},
      {chkNumCarta, &TfrmDestinatari::chkNumCartaClick, " Controlla il numero di carta di credito."},
      {chkIban, &TfrmDestinatari::chkIbanClick, " Controlla le coordinate bancarie IBAN."},
      {imgEmail, &TfrmDestinatari::imgEmailClick, " Invia un messaggio e-mail all'indirizzo indicato."},
      {cmdAllega, &TfrmDestinatari::cmdAllegaClick, " Allega file alla scheda corrente."},
      {cmdAssocia, &TfrmDestinatari::cmdAssociaClick, " Associa una cartella alla scheda corrente."},
  };
  for (const auto& c : commands) {
    connect(c.control, &ClickLabel::clicked, this, c.slot);
    setStatusText(c.control, panInfo, QString::fromUtf8(c.status));
  }
  clearStatusOver({this, container(), grpControlli, grpWord, grpExcel, grpFrecce, grpAllega, grpAssocia,
                   grpDecoro, grpGuida, grpElimina, grpEsci, panRiquadro01, panRiquadro02, panRiquadro03,
                   panRiquadro04, panRiquadro05, panRiquadro06, panRiquadro07},
                  panInfo);
}

// ---- showing ----

void TfrmDestinatari::FormShow() {
  // The card is always new when the window opens.
  newCard();
}

void TfrmDestinatari::newCard() {
  binding_->clear();
  txtCodice->setFocus(Qt::OtherFocusReason);
}

// ---- card commands ----

void TfrmDestinatari::cmdNuovoClick() {
  guarded(this, [this] { newCard(); });
}

void TfrmDestinatari::cmdSalvaClick() {
  guarded(this, [this] {
    if (trimmed(txtCodice->text()).isEmpty()) {
      services().box(this, QString::fromUtf8(kCodiceMissing), QString::fromUtf8(kSaveNotApplicable),
                     MsgIcon::Warning, MsgButtons::Ok);
      txtCodice->setFocus(Qt::OtherFocusReason);
      return;
    }
    if (trimmed(txtPersona->text()).isEmpty()) {
      services().box(this, QString::fromUtf8(kPersonaMissing), QString::fromUtf8(kSaveNotApplicable),
                     MsgIcon::Warning, MsgButtons::Ok);
      txtPersona->setFocus(Qt::OtherFocusReason);
      return;
    }
    binding_->save();
  });
}

void TfrmDestinatari::imgPrimoClick() {
  guarded(this, [this] { binding_->navigate(NavStep::First); });
}

void TfrmDestinatari::imgIndietroClick() {
  guarded(this, [this] { binding_->navigate(NavStep::Previous); });
}

void TfrmDestinatari::imgAvantiClick() {
  guarded(this, [this] { binding_->navigate(NavStep::Next); });
}

void TfrmDestinatari::imgUltimoClick() {
  guarded(this, [this] { binding_->navigate(NavStep::Last); });
}

void TfrmDestinatari::cmdEliminaClick() {
  guarded(this, [this] {
    if (trimmed(lblPosizione->text()).isEmpty()) {
      services().box(this, QString::fromUtf8(kDeleteNotApplicable), QString::fromUtf8(kDeleteNotApplicableTitle),
                     MsgIcon::Warning, MsgButtons::Ok);
      return;
    }
    if (services().box(this, QString::fromUtf8(kDeleteQuestion), QString::fromUtf8(kDeleteQuestionTitle),
                       MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
      return;
    if (binding_->deleteShown()) txtCodice->setFocus(Qt::OtherFocusReason);
  });
}

// ---- windows opened from the card ----

void TfrmDestinatari::cmdRicercaClick() {
  guarded(this, [this] {
    auto search = std::make_unique<TfrmCercaDestinatari>(this);
    search->lblMemory->setText(QStringLiteral("anagrafica"));
    execModal(*search);
  });
}

void TfrmDestinatari::cmdWordClick() {
  // The Word document of the card is written by the registry export, still to come.
}

void TfrmDestinatari::cmdExcelClick() {
  guarded(this, [this] {
    if (forms().frmEsportaDes) execModal(*forms().frmEsportaDes);
  });
}

void TfrmDestinatari::cmdAllegaClick() {
  guarded(this, [this] {
    auto files = std::make_unique<TfrmAllegatiDes>(this);
    files->takeFrom(this);
    // The window writes the choices back into the hidden fields itself.
    execModal(*files);
  });
}

void TfrmDestinatari::cmdAssociaClick() {
  guarded(this, [this] {
    auto folder = std::make_unique<TfrmCartellaDes>(this);
    folder->takeFrom(this);
    execModal(*folder);
  });
}

void TfrmDestinatari::chkCodFiscClick() {
  guarded(this, [this] {
    const QString code = trimmed(txtCodFisc->text());
    if (digitsOnly(code)) {
      // A numeric tax code is checked like a VAT number.
      auto check = std::make_unique<TfrmIva>(this);
      check->setWindowTitle(QStringLiteral(" Controllo codice fiscale numerico / partita IVA"));
      check->lblInfo->setText(QStringLiteral("Immettere il codice fiscale numerico o la partita IVA nella casella"));
      check->lblInfo02->setText(QStringLiteral("sottostante e premere il pulsante di controllo."));
      check->txtCodice->setText(code);
      execModal(*check);
    } else {
      auto check = std::make_unique<TfrmCodFisc>(this);
      check->txtCodice->setText(code);
      execModal(*check);
    }
  });
}

void TfrmDestinatari::chkIvaClick() {
  guarded(this, [this] {
    auto check = std::make_unique<TfrmIva>(this);
    check->txtCodice->setText(trimmed(txtIva->text()));
    execModal(*check);
  });
}

void TfrmDestinatari::chkNumCartaClick() {
  guarded(this, [this] {
    auto check = std::make_unique<TfrmCarta>(this);
    check->txtNumero->setText(trimmed(txtCarta->text()));
    execModal(*check);
  });
}

void TfrmDestinatari::chkIbanClick() {
  guarded(this, [this] {
    auto check = std::make_unique<TfrmIban>(this);
    check->txtCodice->setText(trimmed(txtIban->text()));
    execModal(*check);
  });
}

// ---- e-mail, help, exit ----

QUrl TfrmDestinatari::mailtoUrl(const QString& address) {
  // Everything but letters, digits, "-._~" and "@" is percent-encoded: a "?",
  // "&" or "#" in the address stays part of the address.
  const QByteArray encoded = QUrl::toPercentEncoding(trimmed(address), QByteArrayLiteral("@"));
  return QUrl::fromEncoded(QByteArrayLiteral("mailto:") + encoded, QUrl::StrictMode);
}

void TfrmDestinatari::imgEmailClick() {
  guarded(this, [this] {
    WaitCursor wait;
    services().openUrl(mailtoUrl(txtEmail->text()));
  });
}

void TfrmDestinatari::cmdGuidaClick() {
  guarded(this, [] {
    if (forms().frmHelpForm) forms().frmHelpForm->showTopic(help::clientCardTopic());
  });
}

void TfrmDestinatari::cmdEsciClick() { close(); }

}  // namespace zel
