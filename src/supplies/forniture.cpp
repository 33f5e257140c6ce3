#include "supplies/forniture.h"

#include <QDate>
#include <QFrame>
#include <QPainter>
#include <QScrollBar>
#include <QTime>

#include "attach/allegatifor.h"
#include "attach/cartellafor.h"
#include "clients/cercadestinatari.h"
#include "help/helptopics.h"
#include "output/listprint.h"
#include "output/officeexport.h"
#include "products/impmateriali.h"
#include "store/archives.h"
#include "store/supplyitem.h"
#include "store/supplysheet.h"
#include "supplies/cercafornitura.h"
#include "supplies/cercaincompleti.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"

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

// The rule of the quantity, price and amount boxes: the sheet's key rule,
// silent, and any other edit only when the keys could have made it. A value
// above the limit puts `reset` back at the next key.
NumberBoxRule numberBox(const char* reset) {
  NumberBoxRule rule;
  rule.key = [](std::string_view current, char32_t typed) {
    switch (supplysheet::numberKey(current, typed)) {
      case NumberKey::Accept:
        return BoxKey::Take;
      case NumberKey::Reset:
        return BoxKey::Reset;
      case NumberKey::Discard:
        break;
    }
    return BoxKey::Refuse;
  };
  rule.takesEdit = supplysheet::acceptsEdit;
  rule.resetText = QString::fromLatin1(reset);
  return rule;
}

}  // namespace

TfrmForniture::TfrmForniture(QWidget* parent)
    : CardScreen(QStringLiteral("frmForniture"), QStringLiteral(" Zelvano ©"), supplyLayout(),
                 [this] { return archive(); }, parent) {
  // Every date written and number read by the supply windows follows the
  // program's conventions (comma separator, dd/mm/yyyy).
  applyNumberConventions();
  setBackgroundTile(QStringLiteral(":/art/card_tile.png"));

  lblFile = hiddenLabel(this, "lblFile");
  createAttachmentFields(this);

  buildToolbar();
  panClasse = colourPanel(container(), "panClasse", QString(), QRect(0, 64, 995, 28), kNavy, Qt::white,
                          uiFont(FontFamily::Verdana, px(15), Bold));
  panClasse->setAlignment(Qt::AlignCenter);
  buildFields();
  buildItemList();
  panInfo = statusPanel();

  bindCard();
  bindEvents();
  bindStatusTexts();
  setRules();
  resetFields(false);
}

void TfrmForniture::buildToolbar() {
  QWidget* c = container();
  constexpr int kCommandWidth = 48;
  int x = 4;
  auto command = [&](const char* name, const QPixmap& icon, const QString& caption) {
    auto* l = new ToolbarCommand(name, icon, caption, c);
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
    auto* l = new ToolbarCommand(name, art(picture), QString(), c);
    l->setGeometry(x, 17, 28, 30);
    x += 28;
    return l;
  };
  imgPrimo = arrow("imgPrimo", "nav_primo");
  imgIndietro = arrow("imgIndietro", "nav_indietro");
  lblPosizione = positionLabel(c, QRect(x + 2, 19, 56, 26), px(13), true);
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

  const QFont boxFont = uiFont(FontFamily::Verdana, px(11), Bold);
  const QFont captionFont = uiFont(FontFamily::Verdana, px(11));
  auto box = [&](QWidget* parent, const char* name, const QString& text, int x, int row, int width) {
    QLineEdit* e = captionedEdit(parent, name, text, QRect(x, 20 + row * kRowHeight, width, kBoxHeight),
                                 {captionFont, 16, 16});
    e->setFont(boxFont);
    return e;
  };
  auto importButton = [&](QWidget* parent, const char* name, int x, int row) {
    auto* l = new ToolbarCommand(name, QPixmap(QStringLiteral(":/art/cmd_importa.png")), QString(), parent);
    l->setGeometry(x, 17 + row * kRowHeight, 28, 28);
    return l;
  };

  QWidget* a = panDati01;
  txtProdotto = box(a, "txtProdotto", QStringLiteral("Prodotto o servizio fornito:"), 10, 0, 682);
  impProdotto = importButton(a, "impProdotto", 696, 0);
  txtData = box(a, "txtData", QStringLiteral("Data fornitura:"), 734, 0, 130);
  txtOra = box(a, "txtOra", QStringLiteral("Ora consegna:"), 874, 0, 111);

  txtLuogo = box(a, "txtLuogo", QStringLiteral("Luogo consegna:"), 10, 1, 445);
  txtQuantita = box(a, "txtQuantita", QStringLiteral("Quantità:"), 465, 1, 140);
  lblPer = new QLabel(QStringLiteral("X"), a);
  lblPer->setObjectName(QStringLiteral("lblPer"));
  lblPer->setFont(uiFont(FontFamily::Verdana, px(13), Bold));
  lblPer->setAlignment(Qt::AlignCenter);
  lblPer->setGeometry(605, 20 + kRowHeight, 24, kBoxHeight);
  txtPrezzo = box(a, "txtPrezzo", QStringLiteral("Prezzo unitario:"), 629, 1, 150);
  cmdCalcola = new QPushButton(QStringLiteral("="), a);
  cmdCalcola->setObjectName(QStringLiteral("cmdCalcola"));
  cmdCalcola->setFont(uiFont(FontFamily::Verdana, px(13), Bold));
  cmdCalcola->setGeometry(783, 19 + kRowHeight, 28, kBoxHeight + 2);
  // A click takes the focus (so the box being left is formatted first), Tab
  // never stops here.
  cmdCalcola->setFocusPolicy(Qt::ClickFocus);
  txtImporto = box(a, "txtImporto", QStringLiteral("Importo totale:"), 815, 1, 170);

  txtUM = box(a, "txtUM", QStringLiteral("Unità di misura:"), 10, 2, 140);
  txtPagamento = new QComboBox(a);
  txtPagamento->setObjectName(QStringLiteral("txtPagamento"));
  captionFor(txtPagamento, QStringLiteral("Pagamento:"), QRect(160, 4 + 2 * kRowHeight, 160, 16), captionFont);
  txtPagamento->setEditable(true);
  txtPagamento->setInsertPolicy(QComboBox::NoInsert);
  txtPagamento->addItems({QString::fromLatin1(kPending), QString::fromLatin1(kPaid)});  // sorted
  // The edit part shows the colour of the box (green, yellow with the focus).
  txtPagamento->lineEdit()->setAutoFillBackground(true);
  txtPagamento->setFont(boxFont);
  txtPagamento->lineEdit()->setFont(boxFont);
  txtPagamento->setGeometry(160, 20 + 2 * kRowHeight, 160, kBoxHeight);
  txtAspetto = box(a, "txtAspetto", QStringLiteral("Aspetto esteriore dei beni:"), 330, 2, 655);

  QWidget* b = panDati02;
  txtCliente = box(b, "txtCliente", QStringLiteral("Cliente:"), 10, 0, 445);
  impCliente = importButton(b, "impCliente", 459, 0);
  txtFornitore = box(b, "txtFornitore", QStringLiteral("Fornitore:"), 497, 0, 488);
  txtConsegnatario = box(b, "txtConsegnatario", QStringLiteral("Consegnatario:"), 10, 1, 477);
  txtVettore = box(b, "txtVettore", QStringLiteral("Vettore o conducente:"), 497, 1, 488);
  txtAnnotazioni = box(b, "txtAnnotazioni", QStringLiteral("Annotazioni:"), 10, 2, 975);

  const QList<QWidget*> chain{txtProdotto, txtData,    txtOra,      txtLuogo,         txtQuantita,
                              txtPrezzo,   txtImporto, txtUM,       txtPagamento,     txtAspetto,
                              txtCliente,  txtFornitore, txtConsegnatario, txtVettore, txtAnnotazioni};
  applyFocusColours(chain, kMoneyGreen);
  installEnterChain(chain);
}

void TfrmForniture::buildItemList() {
  QWidget* c = container();
  panTitolo = colourPanel(c, "panTitolo", QStringLiteral("Elenco prodotti e servizi forniti"), QRect(0, 386, 880, 24),
                          kMaroon, Qt::white, uiFont(FontFamily::Verdana, px(13), Bold));
  panTitolo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  panTitolo->setIndent(8);
  cmdStampa = new QPushButton(QIcon(QStringLiteral(":/art/cmd_stampa.png")), QStringLiteral("Stampa"), c);
  cmdStampa->setObjectName(QStringLiteral("cmdStampa"));
  cmdStampa->setGeometry(886, 384, 109, 28);
  cmdStampa->setFocusPolicy(Qt::ClickFocus);
  panIstruzioni =
      colourPanel(c, "panIstruzioni",
                  QStringLiteral("Per aggiungere un prodotto o servizio alla fornitura corrente, fare clic su "
                                 "Nuovo, immettere i dati e premere Salva."),
                  QRect(0, 412, 995, 20), QColor(255, 255, 225), Qt::black, uiFont(FontFamily::Verdana, px(11)));
  panIstruzioni->setIndent(8);

  QFont courier(QStringLiteral("Courier New"));
  courier.setStyleHint(QFont::TypeWriter);
  courier.setPixelSize(12);
  courier.setBold(true);
  // One line per item, 16 pixels high, read from the file's lines as they
  // are painted: a supply of many thousands of items opens at once.
  lstStudenti = new LineList(c, courier, kListExtent, kItemHeight);
  lstStudenti->setObjectName(QStringLiteral("lstStudenti"));
  lstStudenti->setGeometry(0, 434, 995, 196);
  QPalette lp = lstStudenti->palette();
  lp.setColor(QPalette::Base, QColor(235, 235, 235));
  lstStudenti->setPalette(lp);

  infTotale = new QLabel(QStringLiteral("Totale importi:"), c);
  infTotale->setObjectName(QStringLiteral("infTotale"));
  infTotale->setFont(uiFont(FontFamily::Verdana, px(13), Bold));
  infTotale->setGeometry(640, 634, 160, 24);
  infTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  repTotale = colourPanel(c, "repTotale", QStringLiteral("0,00"), QRect(806, 634, 189, 24), Qt::white, kNavy,
                          uiFont(FontFamily::Verdana, px(13), Bold));
  repTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  repTotale->setFrameShape(QFrame::Panel);
  repTotale->setFrameShadow(QFrame::Sunken);
  repTotale->setIndent(6);
  // The total can be selected and copied like the figures in the boxes.
  repTotale->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void TfrmForniture::bindEvents() {
  // A click on a line loads its item; so does moving the selection with the
  // keyboard. Refilling the list loads nothing.
  connect(lstStudenti, &LineList::chosen, this, [this] { guarded(this, [&] { lstStudentiClick(); }); });

  installNumberBox(txtQuantita, numberBox(kDefaultQuantity));
  installNumberBox(txtPrezzo, numberBox(kDefaultMoney));
  installNumberBox(txtImporto, numberBox(kDefaultMoney));
  onExit(txtQuantita, this, [this] { txtQuantitaExit(); });
  onExit(txtPrezzo, this, [this] { txtPrezzoExit(); });
  onExit(txtImporto, this, [this] { txtImportoExit(); });
}

void TfrmForniture::bindStatusTexts() {
  // Navigation shows another item; the list and the total stay as they are.
  wireSaveAndNavigation(cmdSalva, imgPrimo, imgIndietro, imgAvanti, imgUltimo);
  zel::wireCommands<TfrmForniture>(this, panInfo, {
      {cmdNuovo, &TfrmForniture::cmdNuovoClick,
       " Prepara la schermata ad accogliere una nuova scheda di fornitura senza cancellare le informazioni che si "
       "suppone restino invariate."},
      {cmdCancella, &TfrmForniture::cmdCancellaClick,
       " Prepara la schermata ad accogliere una nuova scheda di fornitura cancellando tutti i campi di testo."},
      {cmdRicerca, &TfrmForniture::cmdRicercaClick, " Cerca una scheda in archivio."},
      {cmdAllega, &TfrmForniture::attachmentsCommand, " Allega file alla scheda corrente."},
      {cmdAssocia, &TfrmForniture::folderCommand, " Associa una cartella alla scheda corrente."},
      {cmdWord, &TfrmForniture::cmdWordClick, " Esporta la scheda corrente in un file di Microsoft Word."},
      {cmdExcel, &TfrmForniture::cmdExcelClick, " Esporta l'archivio corrente in un foglio di Microsoft Excel."},
      {cmdSospesi, &TfrmForniture::cmdSospesiClick,
       " Visualizza l'elenco dei prodotti o servizi forniti con pagamento in sospeso."},
      {cmdGuida, &TfrmForniture::helpCommand, " Visualizza la guida in linea."},
      {cmdElimina, &TfrmForniture::deleteCommand, " Elimina la scheda corrente."},
      {cmdEsci, &TfrmForniture::exitCommand, " Esci da questa schermata di lavoro."},
      {cmdStampa, &TfrmForniture::cmdStampaClick, " Stampa elenco prodotti e servizi forniti con totale importi."},
      {cmdCalcola, &TfrmForniture::calculateCommand,
       " Calcola l'importo totale moltiplicando la quantità per il prezzo unitario."},
      {impCliente, &TfrmForniture::impClienteClick, " Importa i dati dall'archivio anagrafico clienti."},
      {impProdotto, &TfrmForniture::impProdottoClick, " Importa i dati del prodotto o servizio dal relativo archivio."},
  });
  installStatusTexts(panInfo,
                     {{lstStudenti, " Seleziona una voce in elenco con un clic per visualizzare la relativa scheda di "
                                    "fornitura."}},
                     {this, container(), panDati01, panDati02, panClasse, panTitolo, panIstruzioni, imgDecorazione});
}

// What saving needs and what deleting says.
void TfrmForniture::setRules() {
  const QString notApplicable = QStringLiteral("Salvataggio scheda non applicabile");
  setMandatoryFields({
      {txtProdotto,
       {txtProdotto,
        QStringLiteral("Per salvare la scheda è necessario indicare la descrizione del prodotto o servizio fornito."),
        notApplicable, MsgIcon::Warning}},
      {txtPagamento,
       {txtPagamento,
        QStringLiteral("Per salvare la scheda è necessario indicare se il pagamento è in sospeso o è stato saldato."),
        notApplicable, MsgIcon::Warning}},
  });
  setDeleteTexts({
      {nullptr, QStringLiteral("Attenzione: operazione non valida.\r\n\r\nLa cancellazione può essere applicata "
                               "soltanto ad una scheda già registrata in archivio."),
       {}, MsgIcon::None},
      QStringLiteral("Si vuole proprio eliminare la scheda corrente?"),
      QStringLiteral("Conferma cancellazione scheda"),
      MsgIcon::None,
  });
}

QString TfrmForniture::supplyFile() const { return trimmed(lblFile->text()); }

CardArchive TfrmForniture::archive() const { return supplyArchive(programFolder(), qToPath(supplyFile())); }


void TfrmForniture::FormShow() {
  setBackgroundTile(QStringLiteral(":/art/card_tile.png"));
  newItem(false);
}

void TfrmForniture::openSupply(const QString& file, const QString& name) {
  lblFile->setText(file);
  panClasse->setText(name);
}

void TfrmForniture::setClient(const QString& persona) { txtCliente->setText(persona); }

void TfrmForniture::setProduct(const QString& description, const QString& price, const QString& supplier) {
  txtProdotto->setText(description);
  txtPrezzo->setText(price);
  txtFornitore->setText(supplier);
}

void TfrmForniture::resetFields(bool keepDelivery) {
  for (QWidget* w : QList<QWidget*>{txtProdotto, txtUM, txtAspetto, txtAnnotazioni}) setControlText(w, QString());
  for (QLabel* l : attachmentFields().all()) l->clear();
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
  ItemList items;
  try {
    items = supplysheet::listItems(qToPath(supplyFile()), supplysheet::Items::All, Access::Existing);
  } catch (const SupplyGone&) {
    // Another desk deleted the supply: an empty list, and the user is told.
    items.complete = true;
    services().message(this, supplyGoneMessage());
  }
  repTotale->setText(toQ(items.total()));
  lstStudenti->setLines(std::move(items.lines));
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

void TfrmForniture::calculateCommand() { cmdCalcolaClick(); }

bool TfrmForniture::beforeSave() {
  // The amount shown and the amount stored are quantity × price, whatever
  // was typed into the amount box; unreadable values are reset first. An
  // amount too long for its field is not stored at all: the boxes still hold
  // what was typed, and saving them would store a wrong amount.
  if (cmdCalcolaClick()) return true;
  return !supplysheet::calculate(fromQ(txtQuantita->text()), fromQ(txtPrezzo->text()), fromQ(txtImporto->text()))
              .tooLarge;
}

void TfrmForniture::prepareRecord(Record& r) {
  const Calculation c = supplysheet::calculate(r[supply::Quantita], r[supply::Prezzo], r[supply::Importo]);
  r[supply::Quantita] = c.quantity;
  r[supply::Prezzo] = c.price;
  r[supply::Importo] = c.amount;
}

void TfrmForniture::afterSave(const Record&) { loadItemList(); }

void TfrmForniture::lstStudentiClick() {
  const int row = lstStudenti->currentRow();
  if (row < 0 || row >= lstStudenti->count()) return;
  // Any failure here leaves the card as it was, without a word, but for a
  // supply that another desk deleted.
  try {
    const std::optional<FoundItem> found =
        supplysheet::findRecordOfLine(qToPath(supplyFile()), lstStudenti->lines()[static_cast<size_t>(row)]);
    if (found) showRecord(found->record, found->number);
  } catch (const SupplyGone&) {
    services().message(this, supplyGoneMessage());
  } catch (...) {
  }
}

void TfrmForniture::impClienteClick() { TfrmCercaDestinatari(this).searchFor(SearchCaller::SupplySheet); }

void TfrmForniture::impProdottoClick() { TfrmImpMateriali(this).importWith(trimmed(txtQuantita->text())); }

void TfrmForniture::cmdRicercaClick() { TfrmCercaFornitura(this).searchFor(SearchCaller::SupplySheet); }

void TfrmForniture::cmdSospesiClick() {
  if (auto* pending = windowAs<ListWindow>(WindowId::PendingPayments)) pending->showModal();
}

std::unique_ptr<AttachmentsWindow> TfrmForniture::newAttachmentsWindow() {
  return std::make_unique<TfrmAllegatiFor>(this);
}

std::unique_ptr<FolderWindow> TfrmForniture::newFolderWindow() { return std::make_unique<TfrmCartellaFor>(this); }

void TfrmForniture::cmdWordClick() {
  if (trimmed(txtProdotto->text()).isEmpty()) {
    Refusal{txtProdotto,
            QStringLiteral("Per poter esportare la scheda corrente in Microsoft Word è necessario compilare il campo "
                           "relativo al prodotto o servizio fornito."),
            QStringLiteral("Esportazione scheda non applicabile"), MsgIcon::Warning}
        .show(this);
    return;
  }
  exportCardToWord(this, supplyCardDocument(fromQ(supplyName()), cardFields(binding())));
}

void TfrmForniture::cmdExcelClick() {
  if (QDialog* exportWindow = windowAs<QDialog>(WindowId::SupplyExport)) flow().runModal(*exportWindow);
}

void TfrmForniture::cmdStampaClick() {
  printList(this, lstStudenti->lines(), PrintedList::SupplySheet, supplyName(), repTotale->text());
}

HelpTopic TfrmForniture::helpTopic() const { return help::supplySheetTopic(); }

}  // namespace zel
