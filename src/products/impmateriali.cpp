#include "products/impmateriali.h"

#include "core/numbers.h"
#include "store/archives.h"
#include "store/productsearch.h"
#include "store/stockupdate.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"
#include "ui/cardbinding.h"
#include "ui/kit.h"
#include "ui/pickreceiver.h"

namespace zel {
namespace {

constexpr int kWidth = 661, kHeight = 507;

std::filesystem::path products() { return programFile(kProductArchive); }

void setTextColour(QWidget* w, const QColor& colour) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, colour);
  w->setPalette(p);
}

}  // namespace

TfrmImpMateriali::TfrmImpMateriali(QWidget* parent)
    : ListWindow(QStringLiteral("frmImpMateriali"), QStringLiteral(" Importa prodotti e servizi da archivio"), parent,
                 uiFont(FontFamily::CourierNew, px(11)), 1300, PrintedList::ProductImport) {
  setClientSize(kWidth, kHeight);
  imgClienti = pictureLabel(this, "imgClienti", QStringLiteral(":/art/tit_prodotti.png"), QRect(8, 6, 224, 42),
                            Qt::AlignLeft | Qt::AlignVCenter);
  imgLente = pictureLabel(this, "imgLente", QStringLiteral(":/art/cmd_ricerca.png"), QRect(kWidth - 52, 6, 44, 44),
                          Qt::AlignLeft | Qt::AlignVCenter);

  addInstructions(this, 8, 56, kWidth - 16, 382, QStringLiteral("Selezionare una voce dall'elenco e premere Importa."));
  results->place(QPoint(8, 98), QSize(kWidth - 16, 250));

  const QFont verdana = uiFont(FontFamily::Verdana, pt(8));
  optAggiorna = new QRadioButton(QStringLiteral(" Aggiorna giacenza "), this);
  optAggiorna->setObjectName(QStringLiteral("optAggiorna"));
  optAggiorna->setGeometry(8, 414, 190, 20);
  optNonAggiornare = new QRadioButton(QStringLiteral(" Non aggiornare giacenza "), this);
  optNonAggiornare->setObjectName(QStringLiteral("optNonAggiornare"));
  optNonAggiornare->setGeometry(8, 438, 190, 20);
  for (QRadioButton* o : {optAggiorna, optNonAggiornare}) o->setFont(verdana);
  optAggiorna->setChecked(true);

  const CaptionStyle captions{verdana, 17, 16};
  const QFont bold = uiFont(FontFamily::Verdana, pt(8), Bold);
  txtGiacenza = captionedEdit(this, "txtGiacenza", QStringLiteral("Giacenza attuale:"), QRect(210, 430, 130, 22),
                              captions);
  txtGiacenza->setReadOnly(true);
  txtGiacenza->setFocusPolicy(Qt::NoFocus);
  txtGiacenza->setText(QStringLiteral("0"));
  QPalette silver = txtGiacenza->palette();
  silver.setColor(QPalette::Base, kSilver);
  txtGiacenza->setPalette(silver);
  txtQuant = captionedEdit(this, "txtQuant", QStringLiteral("Quant. da decurtare:"), QRect(350, 430, 130, 22),
                           captions);
  txtQuant->setText(QStringLiteral("0"));
  applyFocusColour(txtQuant, Qt::white);
  for (QLineEdit* box : {txtGiacenza, txtQuant}) {
    box->setFont(bold);
    box->setMaxLength(15);
  }
  lblPosizione = hiddenLabel(this, "lblPosizione");

  imgMano = pictureLabel(this, "imgMano", QStringLiteral(":/art/mano.png"), QRect(kWidth - 250, 470, 30, 30));
  cmdAnnulla = new QPushButton(QStringLiteral("Importa"), this);
  cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
  cmdAnnulla->setGeometry(kWidth - 216, 470, 100, 30);
  cmdStampa->setGeometry(kWidth - 108, 470, 100, 30);
  setImportEnabled(false);

  installKeyFilter(txtQuant, [this](QChar typed) {
    if (importQuantityKey(fromQ(txtQuant->text()), typed.unicode())) return true;
    services().box(this, QStringLiteral("Attenzione: carattere non valido."), QStringLiteral("Operazione annullata"),
                   MsgIcon::None, MsgButtons::Ok);
    return false;
  });
  connect(txtQuant, &QLineEdit::textChanged, this, [this](const QString& text) { setImportEnabled(!text.isEmpty()); });
  onExit(txtQuant, this, [this] { txtQuantExit(); });
  connect(optAggiorna, &QRadioButton::toggled, this, [this] { colourOptions(); });
  colourOptions();
  results->onSelect = [this](const Text& line) { lstRecordsClick(line); };
  onClick(cmdAnnulla, this, [this] { cmdAnnullaClick(); });
}

int TfrmImpMateriali::importWith(const QString& quantity) {
  txtQuant->setText(quantity);
  return showModal();
}

// Only products with a stock are offered. A failure while listing is silent:
// the lines so far stay.
TextList TfrmImpMateriali::buildList(const Progress& progress) {
  TextList lines = importList(products(), Access::Update, progress).lines;
  if (trimmed(txtQuant->text()).isEmpty()) txtQuant->setText(QStringLiteral("0"));
  return lines;
}

void TfrmImpMateriali::setImportEnabled(bool enabled) {
  cmdAnnulla->setEnabled(enabled);
  imgMano->setVisible(enabled);
}

void TfrmImpMateriali::colourOptions() {
  setTextColour(optAggiorna, optAggiorna->isChecked() ? kMaroon : Qt::black);
  setTextColour(optNonAggiornare, optNonAggiornare->isChecked() ? kMaroon : Qt::black);
}

void TfrmImpMateriali::txtQuantExit() { txtQuant->setText(toQ(importQuantityOnExit(fromQ(txtQuant->text())))); }

void TfrmImpMateriali::lstRecordsClick(const Text& line) {
  if (trim(line).empty()) {
    setImportEnabled(false);
    return;
  }
  // The stock shown is only a note for the user; a failure to read it
  // leaves the last one.
  try {
    if (const std::optional<PickedRecord> found = pickByStockLine(products(), line)) {
      txtGiacenza->setText(toQ(found->record[product::Giacenza]));
      lblPosizione->setText(QString::number(found->number));
    }
  } catch (...) {
  }
  setImportEnabled(true);
  if (trimmed(txtQuant->text()).isEmpty()) txtQuant->setText(QStringLiteral("0"));
}

void TfrmImpMateriali::cmdAnnullaClick() {
  // Every attempt ends the window's use, whatever its outcome.
  struct CloseAfter {
    QDialog* window;
    ~CloseAfter() { window->close(); }
  } closeAfter{this};

  const std::optional<Text> line = results->selectedLine();
  if (!line) return;
  std::optional<PickedRecord> chosen;
  try {
    chosen = pickByStockLine(products(), *line);
  } catch (...) {
    return;  // nothing was read, nothing changes
  }
  if (!chosen) return;

  if (optAggiorna->isChecked()) {
    // A quantity or a stock that is not a number cannot be compared: the
    // window closes and nothing changes.
    const Text quantity = fromQ(txtQuant->text());
    if (!parseNumber(trimView(quantity)) || !parseNumber(chosen->record[product::Giacenza])) return;
    StockUpdate update;
    // A rewrite that fails leaves the record as it was and says so; the sheet
    // then receives nothing either.
    if (!withArchive(this, [&] { update = takeFromStock(products(), chosen->number, quantity); })) return;
    if (update.outcome == StockUpdate::Outcome::Done) noteRewrittenHere(products(), chosen->number);
    if (update.outcome == StockUpdate::Outcome::QuantityAboveStock) {
      services().box(this,
                     QStringLiteral("La quantità da decurtare non può essere superiore alla giacenza in magazzino."),
                     QStringLiteral("Aggiornamento giacenza non applicabile"), MsgIcon::Information, MsgButtons::Ok);
      return;
    }
  }
  if (PickReceiver* sheet = pickReceiver(WindowId::SupplySheet))
    sheet->setProduct(toQ(chosen->record[product::Descrizione]), toQ(chosen->record[product::Prezzo]),
                      toQ(chosen->record[product::Fornitore]));
}

}  // namespace zel
