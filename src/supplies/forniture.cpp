#include "supplies/forniture.h"

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QEnterEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>
#include <QTime>
#include <QValidator>

#include "app/forms.h"
#include "app/helpform.h"
#include "app/helptopics.h"
#include "app/startup.h"
#include "attach/allegatifor.h"
#include "attach/cartellafor.h"
#include "clients/cercadestinatari.h"
#include "products/impmateriali.h"
#include "store/archives.h"
#include "store/supplyitem.h"
#include "store/supplysheet.h"
#include "supplies/cercafornitura.h"
#include "supplies/cercaincompleti.h"
#include "supplies/esportafor.h"
#include "ui/programfolder.h"
#include "ui/services.h"

namespace zel {

using supplysheet::Calculation;
using supplysheet::FoundItem;
using supplysheet::ItemList;
using supplysheet::kDefaultMoney;
using supplysheet::kDefaultQuantity;
using supplysheet::kPaid;
using supplysheet::kPending;
using supplysheet::NumberKey;

namespace {

constexpr int kListExtent = 1500;  // horizontal scroll extent of the item list
constexpr int kItemHeight = 16;
constexpr int kRowHeight = 44;     // caption above, box below
constexpr int kBoxHeight = 22;


QFont verdana(int pixels, bool bold) {
  QFont f(QStringLiteral("Verdana"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

// A toolbar command: its picture above a short caption, a light frame while
// the mouse is over it.
class CommandLabel : public ClickLabel {
 public:
  CommandLabel(const char* name, const QPixmap& icon, const QString& caption, QWidget* parent)
      : ClickLabel(QString::fromLatin1(name), parent), icon_(icon) {
    setText(caption);
    setFont(verdana(10, false));
  }

 protected:
  void enterEvent(QEnterEvent* event) override {
    ClickLabel::enterEvent(event);
    update();
  }
  void leaveEvent(QEvent* event) override {
    ClickLabel::leaveEvent(event);
    update();
  }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    if (underMouse()) {
      p.setPen(QColor(128, 128, 128));
      p.setBrush(QColor(255, 255, 255, 150));
      p.drawRoundedRect(rect().adjusted(0, 0, -1, -1), 3, 3);
    }
    const bool captioned = !text().isEmpty();
    const int iconTop = captioned ? 4 : (height() - icon_.height()) / 2;
    if (!icon_.isNull()) p.drawPixmap((width() - icon_.width()) / 2, iconTop, icon_);
    if (captioned) {
      p.setPen(Qt::black);
      p.setFont(font());
      p.drawText(QRect(0, height() - 18, width(), 16), Qt::AlignHCenter | Qt::AlignVCenter, text());
    }
  }

 private:
  QPixmap icon_;
};

// The picture of the clear command: the new-card picture crossed in red,
// unless the artwork brings a picture of its own.
QPixmap clearPicture() {
  QPixmap own(QStringLiteral(":/art/cmd_cancella.png"));
  if (!own.isNull()) return own;
  QPixmap base(QStringLiteral(":/art/cmd_nuovo.png"));
  if (base.isNull()) {
    base = QPixmap(24, 24);
    base.fill(Qt::transparent);
  }
  QPainter p(&base);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(200, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(6, 6, base.width() - 6, base.height() - 6);
  p.drawLine(base.width() - 6, 6, 6, base.height() - 6);
  return base;
}

// Runs a function when a box loses the focus to another control of the
// program (not when the whole window loses it or a menu pops up).
class ExitFilter : public QObject {
 public:
  ExitFilter(std::function<void()> onExit, QObject* parent) : QObject(parent), onExit_(std::move(onExit)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::FocusOut) {
      const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
      if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason) onExit_();
    }
    return false;
  }

 private:
  std::function<void()> onExit_;
};

// Pastes, drops and the context menu's paste bypass the key filter; the box
// takes such an edit only when its keys could have made it.
class PastedNumberValidator : public QValidator {
 public:
  explicit PastedNumberValidator(QLineEdit* box) : QValidator(box), before_(box->text()) {
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
  }
  State validate(QString& text, int&) const override {
    return supplysheet::acceptsEdit(fromQ(before_), fromQ(text)) ? Acceptable : Invalid;
  }

 private:
  QString before_;  // the text before the edit being checked
};

QLabel* panel(QWidget* parent, const char* name, const QString& text, const QRect& where,
              const QColor& background, const QColor& foreground, const QFont& font) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(where);
  l->setFont(font);
  l->setAutoFillBackground(true);
  QPalette p = l->palette();
  p.setColor(QPalette::Window, background);
  p.setColor(QPalette::WindowText, foreground);
  l->setPalette(p);
  return l;
}

}  // namespace

TfrmForniture::TfrmForniture(QWidget* parent)
    : MainScreen(QStringLiteral("frmForniture"), QStringLiteral(" Zelvano ©"), parent) {
  // Every date written and number read by the supply windows follows the
  // program's conventions (comma separator, dd/mm/yyyy).
  applyNumberConventions();
  setBackgroundTile(QStringLiteral(":/art/card_tile.png"));

  lblFile = hiddenLabel(this, "lblFile");
  lblFile01 = hiddenLabel(this, "lblFile01");
  lblFile02 = hiddenLabel(this, "lblFile02");
  lblFile03 = hiddenLabel(this, "lblFile03");
  lblDesc01 = hiddenLabel(this, "lblDesc01");
  lblDesc02 = hiddenLabel(this, "lblDesc02");
  lblDesc03 = hiddenLabel(this, "lblDesc03");
  lblCartella = hiddenLabel(this, "lblCartella");
  lblCartellaDesc = hiddenLabel(this, "lblCartellaDesc");

  buildToolbar();
  panClasse = panel(container(), "panClasse", QString(), QRect(0, 64, 995, 28), kNavy, Qt::white,
                    verdana(15, true));
  panClasse->setAlignment(Qt::AlignCenter);
  buildFields();
  buildItemList();
  panInfo = statusPanel();

  card_ = std::make_unique<CardBinding>(this, supplyLayout(), lblPosizione, [this] { return archive(); });
  bindEvents();
  bindStatusTexts();
  resetFields(false);
}

TfrmForniture::~TfrmForniture() = default;

void TfrmForniture::buildToolbar() {
  QWidget* c = container();
  constexpr int kCommandWidth = 48;
  int x = 4;
  auto command = [&](const char* name, const QPixmap& icon, const QString& caption) {
    auto* l = new CommandLabel(name, icon, caption, c);
    l->setGeometry(x, 4, kCommandWidth, 54);
    x += kCommandWidth;
    return l;
  };
  auto art = [](const char* name) { return QPixmap(QStringLiteral(":/art/%1.png").arg(QLatin1String(name))); };
  cmdNuovo = command("cmdNuovo", art("cmd_nuovo"), QStringLiteral("Nuovo"));
  cmdCancella = command("cmdCancella", clearPicture(), QStringLiteral("Cancella"));
  cmdSalva = command("cmdSalva", art("cmd_salva"), QStringLiteral("Salva"));
  cmdRicerca = command("cmdRicerca", art("cmd_ricerca"), QStringLiteral("Ricerca"));
  cmdAllega = command("cmdAllega", art("cmd_allega"), QStringLiteral("Allega"));
  cmdAssocia = command("cmdAssocia", art("cmd_associa"), QStringLiteral("Associa"));
  cmdWord = command("cmdWord", art("cmd_word"), QStringLiteral("Word"));
  cmdExcel = command("cmdExcel", art("cmd_excel"), QStringLiteral("Excel"));

  // Navigation: first, previous, the record number, next, last.
  x += 6;
  auto arrow = [&](const char* name, const char* picture) {
    auto* l = new CommandLabel(name, art(picture), QString(), c);
    l->setGeometry(x, 17, 28, 30);
    x += 28;
    return l;
  };
  imgPrimo = arrow("imgPrimo", "nav_primo");
  imgIndietro = arrow("imgIndietro", "nav_indietro");
  lblPosizione = new QLabel(c);
  lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
  lblPosizione->setGeometry(x + 2, 19, 56, 26);
  lblPosizione->setAlignment(Qt::AlignCenter);
  lblPosizione->setFont(verdana(13, true));
  lblPosizione->setFrameShape(QFrame::Panel);
  lblPosizione->setFrameShadow(QFrame::Sunken);
  lblPosizione->setAutoFillBackground(true);
  QPalette pos = lblPosizione->palette();
  pos.setColor(QPalette::Window, Qt::white);
  pos.setColor(QPalette::WindowText, kNavy);
  lblPosizione->setPalette(pos);
  x += 60;
  imgAvanti = arrow("imgAvanti", "nav_avanti");
  imgUltimo = arrow("imgUltimo", "nav_ultimo");

  x += 6;
  cmdSospesi = command("cmdSospesi", art("cmd_sospesi"), QStringLiteral("Sospesi"));

  imgDecorazione = new QLabel(c);
  imgDecorazione->setObjectName(QStringLiteral("imgDecorazione"));
  imgDecorazione->setPixmap(QPixmap(QStringLiteral(":/art/decor_forniture.jpg")));
  imgDecorazione->setGeometry(x + 6, 3, 210, 56);

  x = 995 - 4 - 3 * kCommandWidth;
  cmdGuida = command("cmdGuida", art("cmd_guida"), QStringLiteral("Guida"));
  cmdElimina = command("cmdElimina", art("cmd_elimina"), QStringLiteral("Elimina"));
  cmdEsci = command("cmdEsci", art("cmd_esci"), QStringLiteral("Esci"));
}

void TfrmForniture::buildFields() {
  QWidget* c = container();
  auto frame = [&](const char* name, int top, int rows) {
    auto* f = new QFrame(c);
    f->setObjectName(QString::fromLatin1(name));
    f->setGeometry(0, top, 995, 8 + rows * kRowHeight);
    f->setStyleSheet(QStringLiteral("QFrame#%1 { background: rgba(255, 255, 255, 150); border: 1px solid #a0a0a0; }")
                         .arg(QLatin1String(name)));
    return f;
  };
  panDati01 = frame("panDati01", 96, 3);
  panDati02 = frame("panDati02", 240, 3);

  const QFont boxFont = verdana(11, true);
  const QFont captionFont = verdana(11, false);
  auto caption = [&](QWidget* parent, const QString& text, int x, int row, int width) {
    auto* l = new QLabel(text, parent);
    l->setFont(captionFont);
    l->setGeometry(x, 4 + row * kRowHeight, width, 16);
    return l;
  };
  auto box = [&](QWidget* parent, const char* name, const QString& text, int x, int row, int width,
                 int maxLength) {
    caption(parent, text, x, row, width);
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setFont(boxFont);
    e->setGeometry(x, 20 + row * kRowHeight, width, kBoxHeight);
    e->setMaxLength(maxLength);
    return e;
  };
  auto importButton = [&](QWidget* parent, const char* name, int x, int row) {
    auto* l = new CommandLabel(name, QPixmap(QStringLiteral(":/art/cmd_importa.png")), QString(), parent);
    l->setGeometry(x, 17 + row * kRowHeight, 28, 28);
    return l;
  };

  QWidget* a = panDati01;
  txtProdotto = box(a, "txtProdotto", QStringLiteral("Prodotto o servizio fornito:"), 10, 0, 682, 250);
  impProdotto = importButton(a, "impProdotto", 696, 0);
  txtData = box(a, "txtData", QStringLiteral("Data fornitura:"), 734, 0, 130, 10);
  txtOra = box(a, "txtOra", QStringLiteral("Ora consegna:"), 874, 0, 111, 5);

  txtLuogo = box(a, "txtLuogo", QStringLiteral("Luogo consegna:"), 10, 1, 445, 250);
  txtQuantita = box(a, "txtQuantita", QStringLiteral("Quantità:"), 465, 1, 140, 16);
  lblPer = new QLabel(QStringLiteral("X"), a);
  lblPer->setObjectName(QStringLiteral("lblPer"));
  lblPer->setFont(verdana(13, true));
  lblPer->setAlignment(Qt::AlignCenter);
  lblPer->setGeometry(605, 20 + kRowHeight, 24, kBoxHeight);
  txtPrezzo = box(a, "txtPrezzo", QStringLiteral("Prezzo unitario:"), 629, 1, 150, 16);
  cmdCalcola = new QPushButton(QStringLiteral("="), a);
  cmdCalcola->setObjectName(QStringLiteral("cmdCalcola"));
  cmdCalcola->setFont(verdana(13, true));
  cmdCalcola->setGeometry(783, 19 + kRowHeight, 28, kBoxHeight + 2);
  // A click takes the focus (so the box being left is formatted first), Tab
  // never stops here.
  cmdCalcola->setFocusPolicy(Qt::ClickFocus);
  txtImporto = box(a, "txtImporto", QStringLiteral("Importo totale:"), 815, 1, 170, 16);

  txtUM = box(a, "txtUM", QStringLiteral("Unità di misura:"), 10, 2, 140, 10);
  caption(a, QStringLiteral("Pagamento:"), 160, 2, 160);
  txtPagamento = new QComboBox(a);
  txtPagamento->setObjectName(QStringLiteral("txtPagamento"));
  txtPagamento->setEditable(true);
  txtPagamento->setInsertPolicy(QComboBox::NoInsert);
  txtPagamento->addItems({QString::fromLatin1(kPending), QString::fromLatin1(kPaid)});  // sorted
  txtPagamento->lineEdit()->setMaxLength(10);
  // The edit part shows the colour of the box (green, yellow with the focus).
  txtPagamento->lineEdit()->setAutoFillBackground(true);
  txtPagamento->setFont(boxFont);
  txtPagamento->lineEdit()->setFont(boxFont);
  txtPagamento->setGeometry(160, 20 + 2 * kRowHeight, 160, kBoxHeight);
  txtAspetto = box(a, "txtAspetto", QStringLiteral("Aspetto esteriore dei beni:"), 330, 2, 655, 250);

  QWidget* b = panDati02;
  txtCliente = box(b, "txtCliente", QStringLiteral("Cliente:"), 10, 0, 445, 250);
  impCliente = importButton(b, "impCliente", 459, 0);
  txtFornitore = box(b, "txtFornitore", QStringLiteral("Fornitore:"), 497, 0, 488, 250);
  txtConsegnatario = box(b, "txtConsegnatario", QStringLiteral("Consegnatario:"), 10, 1, 477, 250);
  txtVettore = box(b, "txtVettore", QStringLiteral("Vettore o conducente:"), 497, 1, 488, 250);
  txtAnnotazioni = box(b, "txtAnnotazioni", QStringLiteral("Annotazioni:"), 10, 2, 975, 250);

  const QList<QWidget*> chain{txtProdotto, txtData,    txtOra,      txtLuogo,         txtQuantita,
                              txtPrezzo,   txtImporto, txtUM,       txtPagamento,     txtAspetto,
                              txtCliente,  txtFornitore, txtConsegnatario, txtVettore, txtAnnotazioni};
  applyFocusColours(chain, kMoneyGreen);
  installEnterChain(chain);
}

void TfrmForniture::buildItemList() {
  QWidget* c = container();
  panTitolo = panel(c, "panTitolo", QStringLiteral("Elenco prodotti e servizi forniti"), QRect(0, 386, 880, 24),
                    kMaroon, Qt::white, verdana(13, true));
  panTitolo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  panTitolo->setIndent(8);
  cmdStampa = new QPushButton(QIcon(QStringLiteral(":/art/cmd_stampa.png")), QStringLiteral("Stampa"), c);
  cmdStampa->setObjectName(QStringLiteral("cmdStampa"));
  cmdStampa->setGeometry(886, 384, 109, 28);
  cmdStampa->setFocusPolicy(Qt::ClickFocus);
  panIstruzioni = panel(c, "panIstruzioni",
                        QStringLiteral("Per aggiungere un prodotto o servizio alla fornitura corrente, fare clic su "
                                       "Nuovo, immettere i dati e premere Salva."),
                        QRect(0, 412, 995, 20), QColor(255, 255, 225), Qt::black, verdana(11, false));
  panIstruzioni->setIndent(8);

  lstStudenti = new QListWidget(c);
  lstStudenti->setObjectName(QStringLiteral("lstStudenti"));
  lstStudenti->setGeometry(0, 434, 995, 196);
  QFont courier(QStringLiteral("Courier New"));
  courier.setStyleHint(QFont::TypeWriter);
  courier.setPixelSize(12);
  courier.setBold(true);
  lstStudenti->setFont(courier);
  QPalette lp = lstStudenti->palette();
  lp.setColor(QPalette::Base, QColor(235, 235, 235));
  lstStudenti->setPalette(lp);
  lstStudenti->setFocusPolicy(Qt::ClickFocus);  // not reachable by Tab
  lstStudenti->setUniformItemSizes(true);
  // Every line takes one cell 16 pixels high and as wide as the extent the
  // list scrolls over.
  lstStudenti->setGridSize(QSize(kListExtent, kItemHeight));
  lstStudenti->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  lstStudenti->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  infTotale = new QLabel(QStringLiteral("Totale importi:"), c);
  infTotale->setObjectName(QStringLiteral("infTotale"));
  infTotale->setFont(verdana(13, true));
  infTotale->setGeometry(640, 634, 160, 24);
  infTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  repTotale = panel(c, "repTotale", QStringLiteral("0,00"), QRect(806, 634, 189, 24), Qt::white, kNavy,
                    verdana(13, true));
  repTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  repTotale->setFrameShape(QFrame::Panel);
  repTotale->setFrameShadow(QFrame::Sunken);
  repTotale->setIndent(6);
  // The total can be selected and copied like the figures in the boxes.
  repTotale->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void TfrmForniture::bindEvents() {
  // Every handler runs guarded: no failure escapes into the event loop.
  auto on = [this](ClickLabel* l, void (TfrmForniture::*handler)()) {
    connect(l, &ClickLabel::clicked, this, [this, handler] { guarded(this, [&] { (this->*handler)(); }); });
  };
  on(cmdNuovo, &TfrmForniture::cmdNuovoClick);
  on(cmdCancella, &TfrmForniture::cmdCancellaClick);
  on(cmdSalva, &TfrmForniture::cmdSalvaClick);
  on(cmdRicerca, &TfrmForniture::cmdRicercaClick);
  on(cmdAllega, &TfrmForniture::cmdAllegaClick);
  on(cmdAssocia, &TfrmForniture::cmdAssociaClick);
  on(cmdWord, &TfrmForniture::cmdWordClick);
  on(cmdExcel, &TfrmForniture::cmdExcelClick);
  on(imgPrimo, &TfrmForniture::imgPrimoClick);
  on(imgIndietro, &TfrmForniture::imgIndietroClick);
  on(imgAvanti, &TfrmForniture::imgAvantiClick);
  on(imgUltimo, &TfrmForniture::imgUltimoClick);
  on(cmdSospesi, &TfrmForniture::cmdSospesiClick);
  on(cmdGuida, &TfrmForniture::cmdGuidaClick);
  on(cmdElimina, &TfrmForniture::cmdEliminaClick);
  on(cmdEsci, &TfrmForniture::cmdEsciClick);
  on(impCliente, &TfrmForniture::impClienteClick);
  on(impProdotto, &TfrmForniture::impProdottoClick);
  connect(cmdCalcola, &QPushButton::clicked, this, [this] { guarded(this, [&] { cmdCalcolaClick(); }); });
  connect(cmdStampa, &QPushButton::clicked, this, [this] { guarded(this, [&] { cmdStampaClick(); }); });

  // A click on a line loads its item; so does moving the selection with the
  // keyboard. Refilling the list loads nothing.
  connect(lstStudenti, &QListWidget::itemClicked, this, [this] { guarded(this, [&] { lstStudentiClick(); }); });
  connect(lstStudenti, &QListWidget::currentRowChanged, this, [this](int row) {
    if (reloading_ || row < 0 || QApplication::mouseButtons() != Qt::NoButton || !lstStudenti->hasFocus()) return;
    guarded(this, [&] { lstStudentiClick(); });
  });

  numberFilter(txtQuantita, kDefaultQuantity);
  numberFilter(txtPrezzo, kDefaultMoney);
  numberFilter(txtImporto, kDefaultMoney);
  auto onExit = [this](QLineEdit* box, void (TfrmForniture::*handler)()) {
    box->installEventFilter(new ExitFilter([this, handler] { guarded(this, [&] { (this->*handler)(); }); }, box));
  };
  onExit(txtQuantita, &TfrmForniture::txtQuantitaExit);
  onExit(txtPrezzo, &TfrmForniture::txtPrezzoExit);
  onExit(txtImporto, &TfrmForniture::txtImportoExit);
}

void TfrmForniture::numberFilter(QLineEdit* box, const char* defaultText) {
  box->setValidator(new PastedNumberValidator(box));
  installKeyFilter(box, [box, defaultText](QChar typed) {
    switch (supplysheet::numberKey(fromQ(box->text()), typed.unicode())) {
      case NumberKey::Accept:
        return true;
      case NumberKey::Reset:
        box->setText(QString::fromLatin1(defaultText));
        return false;
      case NumberKey::Discard:
        break;
    }
    return false;
  });
}

void TfrmForniture::bindStatusTexts() {
  QLabel* p = panInfo;
  setStatusText(cmdNuovo, p,
                QStringLiteral(" Prepara la schermata ad accogliere una nuova scheda di fornitura senza cancellare le "
                               "informazioni che si suppone restino invariate."));
  setStatusText(cmdCancella, p,
                QStringLiteral(" Prepara la schermata ad accogliere una nuova scheda di fornitura cancellando tutti i "
                               "campi di testo."));
  setStatusText(cmdSalva, p,
                QStringLiteral(" Salva in archivio i dati relativi alla scheda corrente oppure aggiorna la scheda "
                               "esistente."));
  setStatusText(cmdRicerca, p, QStringLiteral(" Cerca una scheda in archivio."));
  setStatusText(cmdAllega, p, QStringLiteral(" Allega file alla scheda corrente."));
  setStatusText(cmdAssocia, p, QStringLiteral(" Associa una cartella alla scheda corrente."));
  setStatusText(cmdWord, p, QStringLiteral(" Esporta la scheda corrente in un file di Microsoft Word."));
  setStatusText(cmdExcel, p, QStringLiteral(" Esporta l'archivio corrente in un foglio di Microsoft Excel."));
  setStatusText(imgPrimo, p, QStringLiteral(" Visualizza la prima scheda in archivio."));
  setStatusText(imgIndietro, p, QStringLiteral(" Visualizza la scheda precedente in archivio."));
  setStatusText(imgAvanti, p, QStringLiteral(" Visualizza la scheda successiva in archivio."));
  setStatusText(imgUltimo, p, QStringLiteral(" Visualizza l'ultima scheda in archivio"));
  setStatusText(cmdSospesi, p,
                QStringLiteral(" Visualizza l'elenco dei prodotti o servizi forniti con pagamento in sospeso."));
  setStatusText(cmdGuida, p, QStringLiteral(" Visualizza la guida in linea."));
  setStatusText(cmdElimina, p, QStringLiteral(" Elimina la scheda corrente."));
  setStatusText(cmdEsci, p, QStringLiteral(" Esci da questa schermata di lavoro."));
  setStatusText(cmdStampa, p, QStringLiteral(" Stampa elenco prodotti e servizi forniti con totale importi."));
  setStatusText(cmdCalcola, p,
                QStringLiteral(" Calcola l'importo totale moltiplicando la quantità per il prezzo unitario."));
  setStatusText(impCliente, p, QStringLiteral(" Importa i dati dall'archivio anagrafico clienti."));
  setStatusText(impProdotto, p, QStringLiteral(" Importa i dati del prodotto o servizio dal relativo archivio."));
  setStatusText(lstStudenti, p,
                QStringLiteral(" Seleziona una voce in elenco con un clic per visualizzare la relativa scheda di "
                               "fornitura."));
  clearStatusOver({this, container(), panDati01, panDati02, panClasse, panTitolo, panIstruzioni, imgDecorazione}, p);
}

QString TfrmForniture::supplyFile() const { return trimmed(lblFile->text()); }

CardArchive TfrmForniture::archive() const { return supplyArchive(programFolder(), qToPath(supplyFile())); }

void TfrmForniture::showItem(const Record& item, size_t k) { card_->show(item, k); }

void TfrmForniture::FormShow() {
  setBackgroundTile(QStringLiteral(":/art/card_tile.png"));
  newItem(false);
}

void TfrmForniture::resetFields(bool keepDelivery) {
  for (QWidget* w : QList<QWidget*>{txtProdotto, txtUM, txtAspetto, txtAnnotazioni, lblFile01, lblFile02, lblFile03,
                                    lblDesc01, lblDesc02, lblDesc03, lblCartella, lblCartellaDesc})
    setControlText(w, QString());
  if (!keepDelivery)
    for (QLineEdit* e : {txtLuogo, txtCliente, txtFornitore, txtConsegnatario, txtVettore}) e->clear();
  txtData->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
  txtOra->setText(QTime::currentTime().toString(QStringLiteral("hh:mm")));
  txtQuantita->setText(QString::fromLatin1(kDefaultQuantity));
  txtPrezzo->setText(QString::fromLatin1(kDefaultMoney));
  txtImporto->setText(QString::fromLatin1(kDefaultMoney));
  txtPagamento->setCurrentIndex(txtPagamento->findText(QString::fromLatin1(kPaid)));
  txtPagamento->setEditText(QString::fromLatin1(kPaid));
}

void TfrmForniture::newItem(bool keepDelivery) {
  resetFields(keepDelivery);
  loadItemList();
  lblPosizione->clear();
  txtProdotto->setFocus(Qt::OtherFocusReason);
}

void TfrmForniture::cmdNuovoClick() { newItem(true); }
void TfrmForniture::cmdCancellaClick() { newItem(false); }

void TfrmForniture::loadItemList() {
  const ItemList items = supplysheet::listItems(qToPath(supplyFile()));
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(items.lines.size()));
  for (const Text& line : items.lines) lines.append(toQ(line));
  reloading_ = true;
  lstStudenti->setUpdatesEnabled(false);
  lstStudenti->clear();
  lstStudenti->addItems(lines);
  lstStudenti->setUpdatesEnabled(true);
  reloading_ = false;
  repTotale->setText(toQ(items.total()));
}

void TfrmForniture::txtQuantitaExit() {
  txtQuantita->setText(toQ(supplysheet::quantityOnExit(fromQ(txtQuantita->text()))));
}
void TfrmForniture::txtPrezzoExit() { txtPrezzo->setText(toQ(supplysheet::priceOnExit(fromQ(txtPrezzo->text())))); }
void TfrmForniture::txtImportoExit() {
  txtImporto->setText(toQ(supplysheet::priceOnExit(fromQ(txtImporto->text()))));
}

bool TfrmForniture::cmdCalcolaClick() {
  const Calculation c =
      supplysheet::calculate(fromQ(txtQuantita->text()), fromQ(txtPrezzo->text()), fromQ(txtImporto->text()));
  // An amount too long for its field leaves the boxes as the user typed them.
  if (!c.tooLarge) {
    txtQuantita->setText(toQ(c.quantity));
    txtPrezzo->setText(toQ(c.price));
    txtImporto->setText(toQ(c.amount));
  }
  if (c.valid) return true;
  services().message(this, QStringLiteral("Attenzione: valori non validi.\r\n\r\nInserire correttamente la quantità e "
                                          "il prezzo prima di premere il pulsante Calcola."));
  // The focus stays put when nothing was reset: leaving a box would format it.
  if (!c.tooLarge) txtImporto->setFocus(Qt::OtherFocusReason);
  return false;
}

void TfrmForniture::cmdSalvaClick() {
  const QString title = QStringLiteral("Salvataggio scheda non applicabile");
  if (trimmed(txtProdotto->text()).isEmpty()) {
    services().box(this,
                   QStringLiteral("Per salvare la scheda è necessario indicare la descrizione del prodotto o servizio "
                                  "fornito."),
                   title, MsgIcon::Warning, MsgButtons::Ok);
    txtProdotto->setFocus(Qt::OtherFocusReason);
    return;
  }
  if (trimmed(txtPagamento->currentText()).isEmpty()) {
    services().box(this,
                   QStringLiteral("Per salvare la scheda è necessario indicare se il pagamento è in sospeso o è "
                                  "stato saldato."),
                   title, MsgIcon::Warning, MsgButtons::Ok);
    txtPagamento->setFocus(Qt::OtherFocusReason);
    return;
  }
  // The amount shown and the amount stored are quantity × price, whatever
  // was typed into the amount box; unreadable values were reset just above.
  // An amount too long for its field is not stored at all: the boxes still
  // hold what was typed, and saving them would store a wrong amount.
  if (!cmdCalcolaClick() && supplysheet::calculate(fromQ(txtQuantita->text()), fromQ(txtPrezzo->text()),
                                                   fromQ(txtImporto->text()))
                                .tooLarge)
    return;
  const bool saved = card_->save([](Record& r) {
    const Calculation c = supplysheet::calculate(r[supply::Quantita], r[supply::Prezzo], r[supply::Importo]);
    r[supply::Quantita] = c.quantity;
    r[supply::Prezzo] = c.price;
    r[supply::Importo] = c.amount;
  });
  if (saved) loadItemList();
}

void TfrmForniture::cmdEliminaClick() {
  if (trimmed(lblPosizione->text()).isEmpty()) {
    services().message(this, QStringLiteral("Attenzione: operazione non valida.\r\n\r\nLa cancellazione può essere "
                                            "applicata soltanto ad una scheda già registrata in archivio."));
    return;
  }
  if (services().box(this, QStringLiteral("Si vuole proprio eliminare la scheda corrente?"),
                     QStringLiteral("Conferma cancellazione scheda"), MsgIcon::None,
                     MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  if (!card_->deleteShown()) return;
  newItem(false);
}

// Navigation shows another item; the list and the total stay as they are.
void TfrmForniture::imgPrimoClick() { card_->navigate(NavStep::First); }
void TfrmForniture::imgIndietroClick() { card_->navigate(NavStep::Previous); }
void TfrmForniture::imgAvantiClick() { card_->navigate(NavStep::Next); }
void TfrmForniture::imgUltimoClick() { card_->navigate(NavStep::Last); }

void TfrmForniture::lstStudentiClick() {
  const QListWidgetItem* item = lstStudenti->currentItem();
  if (!item) return;
  // Any failure here leaves the card as it was, without a word.
  try {
    const std::optional<FoundItem> found =
        supplysheet::findRecordOfLine(qToPath(supplyFile()), fromQ(item->text()));
    if (found) card_->show(found->record, found->number);
  } catch (...) {
  }
}

void TfrmForniture::impClienteClick() {
  TfrmCercaDestinatari search(this);
  search.lblMemory->setText(QStringLiteral("forniture"));
  execModal(search);
}

void TfrmForniture::impProdottoClick() {
  TfrmImpMateriali import(this);
  import.setQuantity(trimmed(txtQuantita->text()));
  execModal(import);
}

void TfrmForniture::cmdRicercaClick() {
  TfrmCercaFornitura search(this);
  search.lblMemory->setText(QStringLiteral("forniture"));
  execModal(search);
}

void TfrmForniture::cmdSospesiClick() {
  if (forms().frmCercaIncompleti) execModal(*forms().frmCercaIncompleti);
}

void TfrmForniture::cmdAllegaClick() {
  TfrmAllegatiFor attachments(this);
  attachments.takeFrom(this);
  execModal(attachments);
}

void TfrmForniture::cmdAssociaClick() {
  TfrmCartellaFor folder(this);
  folder.takeFrom(this);
  execModal(folder);
}

void TfrmForniture::cmdWordClick() {
  if (trimmed(txtProdotto->text()).isEmpty()) {
    services().box(this,
                   QStringLiteral("Per poter esportare la scheda corrente in Microsoft Word è necessario compilare "
                                  "il campo relativo al prodotto o servizio fornito."),
                   QStringLiteral("Esportazione scheda non applicabile"), MsgIcon::Warning, MsgButtons::Ok);
    txtProdotto->setFocus(Qt::OtherFocusReason);
    return;
  }
  // The item document itself is built by the supply export to Word.
}

void TfrmForniture::cmdExcelClick() {
  if (forms().frmEsportaFor) execModal(*forms().frmEsportaFor);
}

void TfrmForniture::cmdStampaClick() {
  // The printed list of the items with their total goes through the shared
  // list printing, which is still to come.
}

void TfrmForniture::cmdGuidaClick() {
  if (forms().frmHelpForm) forms().frmHelpForm->showTopic(help::supplySheetTopic());
}

void TfrmForniture::cmdEsciClick() { close(); }

}  // namespace zel
