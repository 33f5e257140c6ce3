#include "products/materiali.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>
#include <QUrlQuery>

#include "app/forms.h"
#include "app/helpform.h"
#include "app/helptopics.h"
#include "app/startup.h"
#include "attach/allegatimat.h"
#include "attach/cartellamat.h"
#include "products/cercamateriale.h"
#include "products/cercasottoscorta.h"
#include "products/esportamat.h"
#include "store/archives.h"
#include "store/productrules.h"
#include "store/recordfile.h"
#include "ui/programfolder.h"
#include "ui/services.h"

namespace zel {
namespace {

// Columns and rows of the three sections.
constexpr int kSectionLeft = 176;
constexpr int kSectionWidth = 639;
constexpr int kColumn1 = 12;
constexpr int kColumn2 = 326;
constexpr int kColumnWidth = 301;
constexpr int kRowPitch = 50;
constexpr int kFirstRow = 18;
constexpr int kCaptionHeight = 16;
constexpr int kBoxHeight = 22;

const QString kSearchPage = QStringLiteral("https://www.google.com/search");

QString textValue(const char* utf8) { return QString::fromUtf8(utf8); }


QFont verdana(int points, bool bold = false, bool italic = false) {
  QFont f(QStringLiteral("Verdana"));
  f.setPointSize(points);
  f.setBold(bold);
  f.setItalic(italic);
  return f;
}

QRect rowRect(int column, int row, int width = kColumnWidth) {
  return {column, kFirstRow + row * kRowPitch + kCaptionHeight, width, kBoxHeight};
}

// A white, framed section box.
QGroupBox* section(QWidget* parent, const char* name, const QRect& where) {
  auto* g = new QGroupBox(parent);
  g->setObjectName(QString::fromLatin1(name));
  g->setGeometry(where);
  g->setAutoFillBackground(true);
  QPalette p = g->palette();
  p.setColor(QPalette::Window, Qt::white);
  g->setPalette(p);
  return g;
}

// A small decorative icon at the right end of a caption line.
QLabel* smallIcon(QWidget* parent, const char* name, const QString& resource, int column, int row) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(column + kColumnWidth - 16, kFirstRow + row * kRowPitch - 2, 16, 16);
  l->setScaledContents(true);
  l->setPixmap(QPixmap(resource));
  return l;
}

// A command image: the icon and the caption drawn into one 148 x 32 picture.
QPixmap commandPicture(const QString& resource, const QString& caption) {
  QPixmap pm(148, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient shade(0, 0, 0, 32);
  shade.setColorAt(0, QColor(250, 250, 252));
  shade.setColorAt(1, QColor(214, 222, 236));
  p.setPen(QColor(120, 130, 160));
  p.setBrush(shade);
  p.drawRoundedRect(QRectF(0.5, 0.5, 147, 31), 4, 4);
  const QPixmap icon(resource);
  if (!icon.isNull()) p.drawPixmap(6, 4, icon.scaled(24, 24, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  p.setPen(kNavy);
  p.setFont(verdana(8, true));
  p.drawText(QRect(36, 0, 108, 32), Qt::AlignLeft | Qt::AlignVCenter, caption);
  return pm;
}

}  // namespace

TfrmMateriali::TfrmMateriali(QWidget* parent)
    : MainScreen(QStringLiteral("frmMateriali"), textValue(" Zelvano © - Prodotti e servizi"), parent) {
  // The product card fixes the number and date conventions when it is created.
  applyNumberConventions();
  setMinimumSize(1038, 742);
  setBackgroundTile(QStringLiteral(":/art/card_tile.png"));
  buildControls();
  binding_ = std::make_unique<CardBinding>(this, productLayout(), lblPosizione,
                                           [] { return productArchive(programFolder()); });
  wireCommands();
  newCard();
}

TfrmMateriali::~TfrmMateriali() = default;

QLineEdit* TfrmMateriali::addBox(QGroupBox* group, const char* name, const QString& caption, int maxLength,
                                 const QRect& where) {
  auto* cap = new QLabel(caption, group);
  cap->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(name).mid(3));
  cap->setGeometry(where.left(), where.top() - kCaptionHeight, where.width(), kCaptionHeight - 2);
  cap->setFont(verdana(8));
  auto* box = new QLineEdit(group);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(where);
  box->setMaxLength(maxLength);
  box->setFont(verdana(8, true));
  return box;
}

ClickLabel* TfrmMateriali::addCommand(const char* name, const QString& resource, const QString& caption,
                                      int row) {
  auto* c = new ClickLabel(QString::fromLatin1(name), grpControlli);
  c->setGeometry(8, 14 + row * 47, 148, 32);
  c->setPixmap(commandPicture(resource, caption));
  return c;
}

ClickLabel* TfrmMateriali::addArrow(const char* name, const QString& resource, const QRect& where) {
  auto* a = new ClickLabel(QString::fromLatin1(name), container());
  a->setGeometry(where);
  a->setAlignment(Qt::AlignCenter);
  a->setPixmap(QPixmap(resource));
  return a;
}

void TfrmMateriali::buildControls() {
  QWidget* c = container();

  btnSfondo = addTileCarrier(QStringLiteral(":/art/card_tile.png"));

  // Heading: the logo on the left, the navigation on the right.
  grpLogo = section(c, "grpLogo", QRect(8, 6, 226, 68));
  icoLogo04 = new QLabel(grpLogo);
  icoLogo04->setObjectName(QStringLiteral("icoLogo04"));
  icoLogo04->setGeometry(8, 6, 210, 56);
  icoLogo04->setPixmap(QPixmap(QStringLiteral(":/art/decor_prodotti.jpg")));

  const int navTop = 38;
  const int navRight = kSectionLeft + kSectionWidth;
  imgUltimo = addArrow("imgUltimo", QStringLiteral(":/art/nav_ultimo.png"), QRect(navRight - 28, navTop, 28, 28));
  imgAvanti = addArrow("imgAvanti", QStringLiteral(":/art/nav_avanti.png"), QRect(navRight - 60, navTop, 28, 28));
  lblPosizione = new QLabel(c);
  lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
  lblPosizione->setGeometry(navRight - 136, navTop, 72, 28);
  lblPosizione->setAlignment(Qt::AlignCenter);
  lblPosizione->setFont(verdana(10, true));
  lblPosizione->setAutoFillBackground(true);
  lblPosizione->setFrameShape(QFrame::Panel);
  lblPosizione->setFrameShadow(QFrame::Sunken);
  {
    QPalette p = lblPosizione->palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, kNavy);
    lblPosizione->setPalette(p);
  }
  imgIndietro = addArrow("imgIndietro", QStringLiteral(":/art/nav_indietro.png"),
                         QRect(navRight - 168, navTop, 28, 28));
  imgPrimo = addArrow("imgPrimo", QStringLiteral(":/art/nav_primo.png"), QRect(navRight - 200, navTop, 28, 28));

  // Decoration on the left.
  icoScatole = new QLabel(c);
  icoScatole->setObjectName(QStringLiteral("icoScatole"));
  icoScatole->setGeometry(16, 82, 144, 265);
  icoScatole->setPixmap(QPixmap(QStringLiteral(":/art/riquadro_prodotti.jpg")));

  // The article.
  grpSezione01 = section(c, "grpSezione01", QRect(kSectionLeft, 82, kSectionWidth, 170));
  txtCodice = addBox(grpSezione01, "txtCodice", textValue("Codice articolo:"), 250, rowRect(kColumn1, 0));
  txtTipologia = addBox(grpSezione01, "txtTipologia", textValue("Tipologia:"), 250, rowRect(kColumn2, 0));
  txtMarca = addBox(grpSezione01, "txtMarca", textValue("Marca:"), 250, rowRect(kColumn1, 1));
  txtModello = addBox(grpSezione01, "txtModello", textValue("Modello:"), 250, rowRect(kColumn2, 1));
  txtAccessori = addBox(grpSezione01, "txtAccessori", textValue("Accessori:"), 250, rowRect(kColumn1, 2));
  txtDescrizione = addBox(grpSezione01, "txtDescrizione", textValue("Descrizione prodotto o servizio:"), 250,
                          rowRect(kColumn2, 2));

  // The purchase.
  grpSezione02 = section(c, "grpSezione02", QRect(kSectionLeft, 260, kSectionWidth, 170));
  txtFornitore = addBox(grpSezione02, "txtFornitore", textValue("Fornitore:"), 250, rowRect(kColumn1, 0));
  txtRecapito = addBox(grpSezione02, "txtRecapito", textValue("Recapito:"), 250, rowRect(kColumn2, 0));
  txtData = addBox(grpSezione02, "txtData", textValue("Data di acquisto:"), 50, rowRect(kColumn1, 1));
  txtCosto = addBox(grpSezione02, "txtCosto", textValue("Costo di acquisto:"), 50, rowRect(kColumn2, 1));
  txtDocumento = addBox(grpSezione02, "txtDocumento", textValue("Documento di acquisto:"), 250,
                        rowRect(kColumn1, 2));
  txtOrdine = addBox(grpSezione02, "txtOrdine", textValue("Modalità di ordine merce:"), 250,
                     rowRect(kColumn2, 2));
  imgFornitore = smallIcon(grpSezione02, "imgFornitore", QStringLiteral(":/art/cmd_importa.png"), kColumn1, 0);

  // Price, place and stock.
  grpSezione03 = section(c, "grpSezione03", QRect(kSectionLeft, 438, kSectionWidth, 170));
  txtPrezzo = addBox(grpSezione03, "txtPrezzo", textValue("Prezzo unitario:"), 15, rowRect(kColumn1, 0, 140));
  txtCollocazione = addBox(grpSezione03, "txtCollocazione", textValue("Collocazione:"), 250,
                           rowRect(kColumn2, 0));
  txtGiacenza = addBox(grpSezione03, "txtGiacenza", textValue("Giacenza:"), 15, rowRect(kColumn1, 1, 140));
  {
    // "Avviso sottoscorta n. [box] pezzi rimasti." on one line.
    const QRect row = rowRect(kColumn2, 1);
    auto* before = new QLabel(textValue("Avviso sottoscorta n."), grpSezione03);
    before->setObjectName(QStringLiteral("lblSottoscorta"));
    before->setFont(verdana(8));
    before->setGeometry(row.left(), row.top(), 140, kBoxHeight);
    txtSottoscorta = new QLineEdit(grpSezione03);
    txtSottoscorta->setObjectName(QStringLiteral("txtSottoscorta"));
    txtSottoscorta->setGeometry(row.left() + 144, row.top(), 70, kBoxHeight);
    txtSottoscorta->setMaxLength(15);
    txtSottoscorta->setFont(verdana(8, true));
    auto* after = new QLabel(textValue("pezzi rimasti."), grpSezione03);
    after->setObjectName(QStringLiteral("lblPezzi"));
    after->setFont(verdana(8));
    after->setGeometry(row.left() + 220, row.top(), 100, kBoxHeight);
  }
  txtNote = addBox(grpSezione03, "txtNote", textValue("Note:"), 250,
                   rowRect(kColumn1, 2, kColumn2 + kColumnWidth - kColumn1));
  txtNote->setFont(verdana(8, true, true));
  {
    QPalette p = txtNote->palette();
    p.setColor(QPalette::Text, Qt::red);
    txtNote->setPalette(p);
  }
  imgCollocazione =
      smallIcon(grpSezione03, "imgCollocazione", QStringLiteral(":/art/cmd_associa.png"), kColumn2, 0);
  imgSottoscorta =
      smallIcon(grpSezione03, "imgSottoscorta", QStringLiteral(":/art/cmd_sottoscorta.png"), kColumn1, 1);
  // Beside the stock box rather than at the end of its caption line.
  imgSottoscorta->setGeometry(rowRect(kColumn1, 1, 140).right() + 10, rowRect(kColumn1, 1).top(), 22, 22);

  // Commands, top to bottom.
  grpControlli = section(c, "grpControlli", QRect(823, 82, 164, 526));
  imgNuovo = addCommand("imgNuovo", QStringLiteral(":/art/cmd_nuovo.png"), textValue("Nuovo"), 0);
  imgSalva = addCommand("imgSalva", QStringLiteral(":/art/cmd_salva.png"), textValue("Salva"), 1);
  imgTrova = addCommand("imgTrova", QStringLiteral(":/art/cmd_ricerca.png"), textValue("Trova"), 2);
  imgWord = addCommand("imgWord", QStringLiteral(":/art/cmd_word.png"), textValue("Word"), 3);
  imgExcel = addCommand("imgExcel", QStringLiteral(":/art/cmd_excel.png"), textValue("Excel"), 4);
  imgFile = addCommand("imgFile", QStringLiteral(":/art/cmd_allega.png"), textValue("Allega file"), 5);
  imgCartella = addCommand("imgCartella", QStringLiteral(":/art/cmd_associa.png"), textValue("Cartella"), 6);
  imgDoppioTurno =
      addCommand("imgDoppioTurno", QStringLiteral(":/art/cmd_sottoscorta.png"), textValue("Sottoscorta"), 7);
  imgElimina = addCommand("imgElimina", QStringLiteral(":/art/cmd_web.png"), textValue("Cerca sul Web"), 8);
  imgGuida = addCommand("imgGuida", QStringLiteral(":/art/cmd_guida.png"), textValue("Guida"), 9);
  imgEsci = addCommand("imgEsci", QStringLiteral(":/art/cmd_esci.png"), textValue("Esci"), 10);

  // The attachment fields of the record, never shown.
  lblFile01 = hiddenLabel(c, "lblFile01");
  lblFile02 = hiddenLabel(c, "lblFile02");
  lblFile03 = hiddenLabel(c, "lblFile03");
  lblDesc01 = hiddenLabel(c, "lblDesc01");
  lblDesc02 = hiddenLabel(c, "lblDesc02");
  lblDesc03 = hiddenLabel(c, "lblDesc03");
  lblCartella = hiddenLabel(c, "lblCartella");
  lblCartellaDesc = hiddenLabel(c, "lblCartellaDesc");

  statusPanel();
}

QList<QLineEdit*> TfrmMateriali::editBoxes() const {
  return {txtCodice, txtTipologia, txtMarca,    txtModello,  txtAccessori,    txtDescrizione,
          txtFornitore, txtRecapito, txtData,   txtCosto,    txtDocumento,    txtOrdine,
          txtPrezzo, txtCollocazione, txtGiacenza, txtSottoscorta, txtNote};
}

void TfrmMateriali::wireCommands() {
  QList<QWidget*> chain;
  for (QLineEdit* box : editBoxes()) chain.append(box);
  applyFocusColours(chain, kMoneyGreen);
  installEnterChain(chain);
  // Installed after the Enter chain, so the number boxes see each key first;
  // Enter itself they leave to the chain.
  for (QLineEdit* box : {txtPrezzo, txtGiacenza, txtSottoscorta}) {
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setAcceptDrops(false);
    box->installEventFilter(this);
  }

  QLabel* pan = statusPanel();
  const struct {
    ClickLabel* command;
    const char* status;
    void (TfrmMateriali::*action)();
  } commands[] = {
      {imgNuovo, " Prepara la schermata ad accogliere una nuova scheda.", &TfrmMateriali::imgNuovoMouseUp},
      {imgSalva,
       " Salva in archivio i dati relativi alla scheda corrente oppure aggiorna la scheda esistente.",
       &TfrmMateriali::imgSalvaMouseUp},
      {imgTrova, " Trova una scheda in archivio.", &TfrmMateriali::imgTrovaMouseUp},
      {imgWord, " Esporta la scheda corrente in un file di Microsoft Word.", &TfrmMateriali::imgWordClick},
      {imgExcel, " Esporta l'archivio corrente in un foglio di Microsoft Excel.", &TfrmMateriali::imgExcelMouseUp},
      {imgFile, " Allega file esterni alla scheda corrente.", &TfrmMateriali::imgFileMouseUp},
      {imgCartella, " Associa una cartella alla scheda corrente.", &TfrmMateriali::imgCartellaMouseUp},
      {imgDoppioTurno, " Visualizza l'elenco dei prodotti in esaurimento.", &TfrmMateriali::imgDoppioTurnoMouseUp},
      {imgElimina,
       " Cerca sul Web, tramite Google, informazioni relative all'articolo descritto nella scheda corrente.",
       &TfrmMateriali::imgEliminaMouseUp},
      {imgGuida, " Visualizza la guida in linea del programma.", &TfrmMateriali::imgGuidaMouseUp},
      {imgEsci, " Esce dalla schermata di lavoro corrente.", &TfrmMateriali::imgEsciMouseUp},
      {imgPrimo, " Visualizza la prima scheda in archivio.", &TfrmMateriali::imgPrimoMouseUp},
      {imgIndietro, " Visualizza la scheda precedente in archivio.", &TfrmMateriali::imgIndietroMouseUp},
      {imgAvanti, " Visualizza la scheda successiva in archivio.", &TfrmMateriali::imgAvantiMouseUp},
      {imgUltimo, " Visualizza l'ultima scheda in archivio", &TfrmMateriali::imgUltimoMouseUp},
  };
  for (const auto& cmd : commands) {
    setStatusText(cmd.command, pan, textValue(cmd.status));
    connect(cmd.command, &ClickLabel::clicked, this, cmd.action);
  }
  clearStatusOver({this, container(), grpControlli, grpSezione01, grpSezione02, grpSezione03}, pan);
}

// ---- showing, new card, centring ----

void TfrmMateriali::FormShow() {
  newCard();
  txtCodice->setFocus();
}

void TfrmMateriali::newCard() {
  binding_->clear();
  txtPrezzo->setText(QStringLiteral("0,00"));
  txtGiacenza->setText(QStringLiteral("0"));
  txtSottoscorta->setText(QStringLiteral("0"));
}

void TfrmMateriali::resizeEvent(QResizeEvent* event) {
  MainScreen::resizeEvent(event);
  // This card sits 4 pixels further right than the other main screens.
  const QSize outer = isVisible() && frameGeometry().size().isValid() ? frameGeometry().size() : size();
  container()->move(outer.width() / 2 - MainScreen::kContainerWidth / 2 - 4,
                    outer.height() / 2 - MainScreen::kContainerHeight / 2 - 18);
}

// ---- the number boxes ----

bool TfrmMateriali::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (!box || (box != txtPrezzo && box != txtGiacenza && box != txtSottoscorta))
    return MainScreen::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress:
      return numberBoxKey(box, static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
      // No middle-button paste: the box takes its text from the keys alone.
      return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    case QEvent::FocusOut: {
      // Leaving for another control of the card; a message box or another
      // window taking the focus for a while is not leaving the box.
      const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
      if (why == Qt::ActiveWindowFocusReason || why == Qt::PopupFocusReason) break;
      if (box == txtPrezzo) txtPrezzoExit();
      else if (box == txtGiacenza) txtGiacenzaExit();
      else txtSottoscortaExit();
      break;
    }
    default:
      break;
  }
  return false;
}

bool TfrmMateriali::numberBoxKey(QLineEdit* box, QKeyEvent* key) {
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return false;  // the Enter cycle
  const bool paste = key->matches(QKeySequence::Paste);
  const bool backspace = key->key() == Qt::Key_Backspace;
  const QString typed = key->text();
  if (!paste && !backspace) {
    // Only typed characters are checked: movement keys, Tab, Escape and the
    // editing shortcuts pass untouched.
    if (typed.isEmpty() || typed.at(0).unicode() < 32 || typed.at(0).unicode() == 127) return false;
    if (key->modifiers() & Qt::ControlModifier) return false;
  }

  QString tooLarge, reset;
  if (box == txtPrezzo) {
    tooLarge = textValue("Attenzione: valore non valido.");
    reset = QStringLiteral("0,00");
  } else if (box == txtGiacenza) {
    tooLarge = textValue("Attenzione: il valore della giacenza massima non può superare 30 milioni.");
    reset = QStringLiteral("0");
  } else {
    tooLarge = textValue("Attenzione: il valore massimo non può superare 30 milioni.");
    reset = QStringLiteral("0");
  }
  const QString title = textValue("Operazione annullata");
  const QString badCharacter = textValue("Attenzione: carattere non valido.");
  const Text current = fromQ(box->text());

  productcard::Key verdict = productcard::Key::Accept;
  if (paste) {
    // A paste is a run of typed keys: every character must be one the box
    // takes, and the result may hold one comma at most.
    verdict = productcard::numberBoxKey(current, U'0');
    if (verdict == productcard::Key::Accept) {
      QString result = box->text();
      const QString pasted = QApplication::clipboard()->text();
      if (box->hasSelectedText()) result.remove(box->selectionStart(), box->selectedText().size());
      for (QChar ch : pasted) {
        const bool digit = ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
        if (!digit && ch != QLatin1Char(',')) verdict = productcard::Key::BadCharacter;
      }
      if (result.count(QLatin1Char(',')) + pasted.count(QLatin1Char(',')) > 1)
        verdict = productcard::Key::BadCharacter;
    }
  } else {
    const char32_t ch = backspace ? U'\b' : typed.toUcs4().value(0);
    verdict = productcard::numberBoxKey(current, ch);
  }

  switch (verdict) {
    case productcard::Key::Accept:
      return false;
    case productcard::Key::ValueTooLarge:
      services().box(this, tooLarge, title, MsgIcon::None, MsgButtons::Ok);
      box->setText(reset);
      return true;
    case productcard::Key::BadCharacter:
      services().box(this, badCharacter, title, MsgIcon::None, MsgButtons::Ok);
      return true;
  }
  return true;
}

void TfrmMateriali::txtPrezzoExit() {
  txtPrezzo->setText(toQ(productcard::priceOnExit(fromQ(txtPrezzo->text()))));
}
void TfrmMateriali::txtGiacenzaExit() {
  txtGiacenza->setText(toQ(productcard::piecesOnExit(fromQ(txtGiacenza->text()))));
}
void TfrmMateriali::txtSottoscortaExit() {
  txtSottoscorta->setText(toQ(productcard::piecesOnExit(fromQ(txtSottoscorta->text()))));
}

// ---- commands ----

void TfrmMateriali::imgNuovoMouseUp() {
  newCard();
  txtCodice->setFocus();
}

void TfrmMateriali::imgSalvaMouseUp() {
  if (trimmed(txtCodice->text()).isEmpty()) {
    services().box(this, textValue("Per salvare la scheda è necessario indicare il codice articolo."),
                   textValue("Salvataggio scheda non applicabile"), MsgIcon::Information, MsgButtons::Ok);
    txtCodice->setFocus();
    return;
  }
  Record stored;
  const bool saved = binding_->save([&stored](Record& r) {
    // A stock or threshold that is not a number stops the save before the
    // write, with the archive message.
    if (!normaliseProduct(r)) throw StoreError("stock or threshold is not a number");
    stored = r;
  });
  if (!saved) return;
  // The card shows what was stored.
  txtPrezzo->setText(toQ(stored[product::Prezzo]));
  txtGiacenza->setText(toQ(stored[product::Giacenza]));
  txtSottoscorta->setText(toQ(stored[product::Sottoscorta]));
}

void TfrmMateriali::imgPrimoMouseUp() { binding_->navigate(NavStep::First); }
void TfrmMateriali::imgIndietroMouseUp() { binding_->navigate(NavStep::Previous); }
void TfrmMateriali::imgAvantiMouseUp() { binding_->navigate(NavStep::Next); }
void TfrmMateriali::imgUltimoMouseUp() { binding_->navigate(NavStep::Last); }

void TfrmMateriali::imgTrovaMouseUp() {
  TfrmCercaMateriale search(this);
  search.lblMemory->setText(QStringLiteral("materiali"));
  execModal(search);
}

void TfrmMateriali::imgDoppioTurnoMouseUp() {
  TfrmCercaSottoscorta list(this);
  execModal(list);
}

void TfrmMateriali::imgFileMouseUp() {
  TfrmAllegatiMat attachments(this);
  attachments.takeFrom(this);
  execModal(attachments);
}

void TfrmMateriali::imgCartellaMouseUp() {
  TfrmCartellaMat folder(this);
  folder.takeFrom(this);
  execModal(folder);
}

void TfrmMateriali::imgWordClick() {
  if (trimmed(txtCodice->text()).isEmpty()) {
    services().message(this, textValue("Per poter esportare la scheda corrente in Microsoft Word è necessario "
                                       "indicare il codice articolo."));
    txtCodice->setFocus();
    return;
  }
  // TODO: the card document is written by the office bridge, which is not
  // in the program yet.
}

void TfrmMateriali::imgExcelMouseUp() {
  if (forms().frmEsportaMat) execModal(*forms().frmEsportaMat);
}

QUrl TfrmMateriali::webSearchUrl(const QString& brand, const QString& model) {
  // Encoded here, so that "&", "#", "+" and "%" in a brand or model reach the
  // search engine as the characters themselves.
  const QString query = trimmed(brand) + QLatin1Char(' ') + trimmed(model);
  QUrlQuery q;
  q.addQueryItem(QStringLiteral("q"), QString::fromLatin1(QUrl::toPercentEncoding(query)));
  QUrl url(kSearchPage);
  url.setQuery(q);
  return url;
}

void TfrmMateriali::imgEliminaMouseUp() {
  if (trimmed(txtMarca->text()).isEmpty()) {
    services().message(this, textValue("Per poter effettuare una ricerca sul Web è necessario compilare il "
                                       "campo relativo alla marca dell'articolo."));
    txtMarca->setFocus();
    return;
  }
  WaitCursor wait;
  // The desktop's answer is not examined: a failure says nothing.
  services().openUrl(webSearchUrl(txtMarca->text(), txtModello->text()));
}

void TfrmMateriali::imgGuidaMouseUp() {
  if (forms().frmHelpForm) forms().frmHelpForm->showTopic(help::productCardTopic());
}

void TfrmMateriali::imgEsciMouseUp() { close(); }

}  // namespace zel
