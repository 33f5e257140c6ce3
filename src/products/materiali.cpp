#include "products/materiali.h"

#include <QUrlQuery>

#include "attach/allegatimat.h"
#include "attach/cartellamat.h"
#include "help/helptopics.h"
#include "output/officeexport.h"
#include "products/cercamateriale.h"
#include "products/cercasottoscorta.h"
#include "store/archives.h"
#include "store/productrules.h"
#include "store/recordfile.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"

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
  QLabel* l =
      pictureLabel(parent, name, resource, QRect(column + kColumnWidth - 16, kFirstRow + row * kRowPitch - 2, 16, 16));
  l->setScaledContents(true);
  return l;
}

// The rule of the price, stock and threshold boxes: the card's key rule,
// and a paste judged as the keys it stands for. A value above the limit
// resets the box to `reset` with `tooLarge`.
NumberBoxRule numberBox(const QString& reset, const QString& tooLarge) {
  const auto verdict = [](productcard::Key key) {
    switch (key) {
      case productcard::Key::Accept:
        return BoxKey::Take;
      case productcard::Key::BadCharacter:
        return BoxKey::Refuse;
      case productcard::Key::ValueTooLarge:
        return BoxKey::Reset;
    }
    return BoxKey::Refuse;
  };
  NumberBoxRule rule;
  rule.key = [verdict](std::string_view current, char32_t typed) {
    return verdict(productcard::numberBoxKey(current, typed));
  };
  rule.judgesBackspace = true;  // a value above the limit resets at Backspace too
  rule.pasteKey = [verdict](std::string_view current, std::string_view kept, std::string_view pasted) {
    return verdict(productcard::pasteKey(current, kept, pasted));
  };
  rule.resetText = reset;
  rule.refusal = textValue("Attenzione: carattere non valido.");
  rule.resetWarning = tooLarge;
  rule.title = textValue("Operazione annullata");
  return rule;
}

}  // namespace

TfrmMateriali::TfrmMateriali(QWidget* parent)
    : CardScreen(QStringLiteral("frmMateriali"), textValue(" Zelvano © - Prodotti e servizi"), productLayout(),
                 [] { return productArchive(programFolder()); }, parent) {
  // The product card fixes the number and date conventions when it is created.
  applyNumberConventions();
  setMinimumSize(1038, 742);
  setContainerShift(4);
  setBackgroundTile(QStringLiteral(":/art/card_tile.png"));
  buildControls();
  bindCard();
  wireCommands();
  binding().clear();
  setDefaults();
  setMandatoryFields({{txtCodice,
                       {txtCodice, textValue("Per salvare la scheda è necessario indicare il codice articolo."),
                        textValue("Salvataggio scheda non applicabile"), MsgIcon::Information}}});
}

QLineEdit* TfrmMateriali::addBox(QGroupBox* group, const char* name, const QString& caption, const QRect& where) {
  QLineEdit* box = captionedEdit(group, name, caption, where,
                                 {uiFont(FontFamily::Verdana, pt(8)), kCaptionHeight, kCaptionHeight - 2});
  box->setFont(uiFont(FontFamily::Verdana, pt(8), Bold));
  return box;
}

ClickLabel* TfrmMateriali::addCommand(const char* name, const QString& resource, const QString& caption,
                                      int row) {
  auto* c = new ClickLabel(QString::fromLatin1(name), grpControlli);
  c->setGeometry(8, 14 + row * 47, 148, 32);
  c->setPixmap(captionedCommandPicture(resource, caption, QSize(148, 32)));
  return c;
}

void TfrmMateriali::buildControls() {
  QWidget* c = container();

  btnSfondo = addTileCarrier(QStringLiteral(":/art/card_tile.png"));

  // Heading: the logo on the left, the navigation on the right.
  grpLogo = section(c, "grpLogo", QRect(8, 6, 226, 68));
  icoLogo04 = pictureLabel(grpLogo, "icoLogo04", QStringLiteral(":/art/decor_prodotti.jpg"), QRect(8, 6, 210, 56),
                           Qt::AlignLeft | Qt::AlignVCenter);

  const int navTop = 38;
  const int navRight = kSectionLeft + kSectionWidth;
  imgUltimo = iconCommand(c, "imgUltimo", QStringLiteral(":/art/nav_ultimo.png"), QRect(navRight - 28, navTop, 28, 28));
  imgAvanti = iconCommand(c, "imgAvanti", QStringLiteral(":/art/nav_avanti.png"), QRect(navRight - 60, navTop, 28, 28));
  lblPosizione = positionLabel(c, QRect(navRight - 136, navTop, 72, 28), pt(10), true);
  imgIndietro = iconCommand(c, "imgIndietro", QStringLiteral(":/art/nav_indietro.png"),
                         QRect(navRight - 168, navTop, 28, 28));
  imgPrimo = iconCommand(c, "imgPrimo", QStringLiteral(":/art/nav_primo.png"), QRect(navRight - 200, navTop, 28, 28));

  // Decoration on the left.
  icoScatole = pictureLabel(c, "icoScatole", QStringLiteral(":/art/riquadro_prodotti.jpg"), QRect(16, 82, 144, 265),
                            Qt::AlignLeft | Qt::AlignVCenter);

  // The article.
  grpSezione01 = section(c, "grpSezione01", QRect(kSectionLeft, 82, kSectionWidth, 170));
  txtCodice = addBox(grpSezione01, "txtCodice", textValue("Codice articolo:"), rowRect(kColumn1, 0));
  txtTipologia = addBox(grpSezione01, "txtTipologia", textValue("Tipologia:"), rowRect(kColumn2, 0));
  txtMarca = addBox(grpSezione01, "txtMarca", textValue("Marca:"), rowRect(kColumn1, 1));
  txtModello = addBox(grpSezione01, "txtModello", textValue("Modello:"), rowRect(kColumn2, 1));
  txtAccessori = addBox(grpSezione01, "txtAccessori", textValue("Accessori:"), rowRect(kColumn1, 2));
  txtDescrizione = addBox(grpSezione01, "txtDescrizione", textValue("Descrizione prodotto o servizio:"),
                          rowRect(kColumn2, 2));

  // The purchase.
  grpSezione02 = section(c, "grpSezione02", QRect(kSectionLeft, 260, kSectionWidth, 170));
  txtFornitore = addBox(grpSezione02, "txtFornitore", textValue("Fornitore:"), rowRect(kColumn1, 0));
  txtRecapito = addBox(grpSezione02, "txtRecapito", textValue("Recapito:"), rowRect(kColumn2, 0));
  txtData = addBox(grpSezione02, "txtData", textValue("Data di acquisto:"), rowRect(kColumn1, 1));
  txtCosto = addBox(grpSezione02, "txtCosto", textValue("Costo di acquisto:"), rowRect(kColumn2, 1));
  txtDocumento = addBox(grpSezione02, "txtDocumento", textValue("Documento di acquisto:"),
                        rowRect(kColumn1, 2));
  txtOrdine = addBox(grpSezione02, "txtOrdine", textValue("Modalità di ordine merce:"),
                     rowRect(kColumn2, 2));
  imgFornitore = smallIcon(grpSezione02, "imgFornitore", QStringLiteral(":/art/cmd_importa.png"), kColumn1, 0);

  // Price, place and stock.
  grpSezione03 = section(c, "grpSezione03", QRect(kSectionLeft, 438, kSectionWidth, 170));
  txtPrezzo = addBox(grpSezione03, "txtPrezzo", textValue("Prezzo unitario:"), rowRect(kColumn1, 0, 140));
  txtCollocazione = addBox(grpSezione03, "txtCollocazione", textValue("Collocazione:"),
                           rowRect(kColumn2, 0));
  txtGiacenza = addBox(grpSezione03, "txtGiacenza", textValue("Giacenza:"), rowRect(kColumn1, 1, 140));
  {
    // "Avviso sottoscorta n. [box] pezzi rimasti." on one line.
    const QRect row = rowRect(kColumn2, 1);
    auto* before = new QLabel(textValue("Avviso sottoscorta n."), grpSezione03);
    before->setObjectName(QStringLiteral("lblSottoscorta"));
    before->setFont(uiFont(FontFamily::Verdana, pt(8)));
    before->setGeometry(row.left(), row.top(), 140, kBoxHeight);
    txtSottoscorta = new QLineEdit(grpSezione03);
    txtSottoscorta->setObjectName(QStringLiteral("txtSottoscorta"));
    txtSottoscorta->setGeometry(row.left() + 144, row.top(), 70, kBoxHeight);
    txtSottoscorta->setFont(uiFont(FontFamily::Verdana, pt(8), Bold));
    auto* after = new QLabel(textValue("pezzi rimasti."), grpSezione03);
    after->setObjectName(QStringLiteral("lblPezzi"));
    after->setFont(uiFont(FontFamily::Verdana, pt(8)));
    after->setGeometry(row.left() + 220, row.top(), 100, kBoxHeight);
  }
  txtNote = addBox(grpSezione03, "txtNote", textValue("Note:"),
                   rowRect(kColumn1, 2, kColumn2 + kColumnWidth - kColumn1));
  txtNote->setFont(uiFont(FontFamily::Verdana, pt(8), Bold | Italic));
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
  createAttachmentFields(c);

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
  installNumberBox(txtPrezzo, numberBox(QStringLiteral("0,00"), textValue("Attenzione: valore non valido.")));
  installNumberBox(txtGiacenza,
                   numberBox(QStringLiteral("0"),
                             textValue("Attenzione: il valore della giacenza massima non può superare 30 milioni.")));
  installNumberBox(txtSottoscorta, numberBox(QStringLiteral("0"),
                                             textValue("Attenzione: il valore massimo non può superare 30 milioni.")));

  onExit(txtPrezzo, this, [this] { txtPrezzoExit(); });
  onExit(txtGiacenza, this, [this] { txtGiacenzaExit(); });
  onExit(txtSottoscorta, this, [this] { txtSottoscortaExit(); });

  QLabel* pan = statusPanel();
  wireSaveAndNavigation(imgSalva, imgPrimo, imgIndietro, imgAvanti, imgUltimo);
  zel::wireCommands<TfrmMateriali>(this, pan, {
      {imgNuovo, &TfrmMateriali::newCardCommand, " Prepara la schermata ad accogliere una nuova scheda."},
      {imgTrova, &TfrmMateriali::imgTrovaMouseUp, " Trova una scheda in archivio."},
      {imgWord, &TfrmMateriali::imgWordClick, " Esporta la scheda corrente in un file di Microsoft Word."},
      {imgExcel, &TfrmMateriali::imgExcelMouseUp, " Esporta l'archivio corrente in un foglio di Microsoft Excel."},
      {imgFile, &TfrmMateriali::attachmentsCommand, " Allega file esterni alla scheda corrente."},
      {imgCartella, &TfrmMateriali::folderCommand, " Associa una cartella alla scheda corrente."},
      {imgDoppioTurno, &TfrmMateriali::imgDoppioTurnoMouseUp, " Visualizza l'elenco dei prodotti in esaurimento."},
      {imgElimina, &TfrmMateriali::imgEliminaMouseUp,
       " Cerca sul Web, tramite Google, informazioni relative all'articolo descritto nella scheda corrente."},
      {imgGuida, &TfrmMateriali::helpCommand, " Visualizza la guida in linea del programma."},
      {imgEsci, &TfrmMateriali::exitCommand, " Esce dalla schermata di lavoro corrente."},
  });
  installStatusTexts(pan, {}, {this, container(), grpControlli, grpSezione01, grpSezione02, grpSezione03});
}

// ---- new card ----

void TfrmMateriali::setDefaults() {
  txtPrezzo->setText(QStringLiteral("0,00"));
  txtGiacenza->setText(QStringLiteral("0"));
  txtSottoscorta->setText(QStringLiteral("0"));
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

void TfrmMateriali::prepareRecord(Record& record) {
  // A stock or threshold that is not a number stops the save before the
  // write, with the archive message.
  if (!normaliseProduct(record)) throw StoreError("stock or threshold is not a number");
}

void TfrmMateriali::afterSave(const Record& stored) {
  // The card shows what was stored.
  txtPrezzo->setText(toQ(stored[product::Prezzo]));
  txtGiacenza->setText(toQ(stored[product::Giacenza]));
  txtSottoscorta->setText(toQ(stored[product::Sottoscorta]));
}

void TfrmMateriali::imgTrovaMouseUp() { TfrmCercaMateriale(this).searchFor(SearchCaller::ProductCard); }

void TfrmMateriali::imgDoppioTurnoMouseUp() { TfrmCercaSottoscorta(this).showModal(); }

std::unique_ptr<AttachmentsWindow> TfrmMateriali::newAttachmentsWindow() {
  return std::make_unique<TfrmAllegatiMat>(this);
}

std::unique_ptr<FolderWindow> TfrmMateriali::newFolderWindow() { return std::make_unique<TfrmCartellaMat>(this); }

void TfrmMateriali::imgWordClick() {
  if (trimmed(txtCodice->text()).isEmpty()) {
    Refusal{txtCodice, textValue("Per poter esportare la scheda corrente in Microsoft Word è necessario "
                                 "indicare il codice articolo."),
            {}, MsgIcon::None}
        .show(this);
    return;
  }
  exportCardToWord(this, productCardDocument(cardFields(binding())));
}

void TfrmMateriali::imgExcelMouseUp() {
  if (QDialog* exportWindow = windowAs<QDialog>(WindowId::ProductExport)) flow().runModal(*exportWindow);
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

HelpTopic TfrmMateriali::helpTopic() const { return help::productCardTopic(); }

}  // namespace zel
