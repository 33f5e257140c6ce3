// The supply sheet driven as a user drives it: typing, Enter, clicks on the
// command pictures and on the item list, with the services fake answering
// the message boxes and a temporary program folder holding the supply file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>

#include <filesystem>

#include "attach/allegatifor.h"
#include "attach/cartellafor.h"
#include "clients/cercadestinatari.h"
#include "products/impmateriali.h"
#include "store/recordfile.h"
#include "store/supplyitem.h"
#include "supplies/cercafornitura.h"
#include "supplies/forniture.h"
#include "support/records.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

using test::u8;

using test::supplyItem;

class SupplySheet : public ::testing::Test, public test::ControlsOf<SupplySheet> {
 protected:
  void SetUp() override {
    home = std::make_unique<QWidget>();
    MainScreen::setHomeScreen(home.get());
    sheet = std::make_unique<TfrmForniture>();
    writeItems({});  // the create window made the supply
    open(supply());
  }
  void TearDown() override { MainScreen::setHomeScreen(nullptr); }

  fs::path supply() const { return folder.file("Rossi.for"); }

  // What the open-supply window does: name the file, then show the sheet.
  void open(const fs::path& file) {
    sheet->hide();
    label("lblFile")->setText(pathToQ(file));
    label("panClasse")->setText(QStringLiteral("Rossi"));
    sheet->show();
    QApplication::setActiveWindow(sheet.get());
    QCoreApplication::processEvents();
  }

  void writeItems(const std::vector<Record>& items) { test::appendRecords(supply(), supplyLayout(), items); }
  std::vector<Record> stored() const { return readAllRecords(supply(), supplyLayout()); }

  void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
  // Empties a box and types into it, key by key.
  void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, text);
  }
  // Enter: the focus moves on to the next field.
  void enter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }
  void clickLine(int row) {
    LineList* list = control<LineList>("lstStudenti");
    const QModelIndex line = list->model()->index(row, 0);
    list->scrollTo(line);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(line).center());
  }
  QStringList lines() const {
    QStringList out;
    for (int i = 0; i < control<LineList>("lstStudenti")->count(); ++i)
      out << control<LineList>("lstStudenti")->lineText(i);
    return out;
  }
  void saveItem(const QString& product, const QString& quantity, const QString& price) {
    click(command("cmdNuovo"));
    type(edit("txtProdotto"), product);
    type(edit("txtQuantita"), quantity);
    type(edit("txtPrezzo"), price);
    click(command("cmdSalva"));
  }

  test::FakeServices fake;
  test::TempProgramFolder folder;
  std::unique_ptr<QWidget> home;
  std::unique_ptr<TfrmForniture> sheet;
 public:
  // The window whose controls edit(), label(), command()... find.
  const QObject* window() const { return sheet.get(); }
};

TEST_F(SupplySheet, OpensOnANewItemWithDefaultsAndAnEmptyList) {
  EXPECT_EQ(edit("txtData")->text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d$")).match(edit("txtOra")->text()).hasMatch());
  EXPECT_EQ(edit("txtQuantita")->text(), "1");
  EXPECT_EQ(edit("txtPrezzo")->text(), "0,00");
  EXPECT_EQ(edit("txtImporto")->text(), "0,00");
  EXPECT_EQ(control<QComboBox>("txtPagamento")->currentText(), "Saldato");
  EXPECT_EQ(control<QComboBox>("txtPagamento")->itemText(0), "In sospeso");
  EXPECT_EQ(control<QComboBox>("txtPagamento")->itemText(1), "Saldato");
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());
  EXPECT_EQ(control<LineList>("lstStudenti")->count(), 0);
  EXPECT_EQ(label("repTotale")->text(), "0,00");
  EXPECT_EQ(QApplication::focusWidget(), edit("txtProdotto"));
  EXPECT_EQ(sheet->windowTitle(), u8(" Zelvano ©"));
  EXPECT_TRUE(fake.messages.isEmpty());
}

// Only the create window makes a supply file: one that another desk deleted
// is said to be gone by every command of the sheet, and never comes back.
TEST_F(SupplySheet, ASupplyDeletedElsewhereIsToldGoneAndNeverRecreated) {
  writeItems({supplyItem("Vite", "1", "10,10", "10,10")});
  open(supply());
  click(command("imgPrimo"));
  ASSERT_EQ(label("lblPosizione")->text(), "1");
  fs::remove(supply());
  fake.messages.clear();

  type(edit("txtProdotto"), QStringLiteral("Bullone"));
  click(command("cmdSalva"));
  click(command("imgUltimo"));
  click(command("cmdElimina"));
  clickLine(0);
  EXPECT_EQ(label("lblPosizione")->text(), "1");  // the card stays as it was
  EXPECT_EQ(edit("txtProdotto")->text(), "Bullone");
  click(command("cmdNuovo"));
  ASSERT_EQ(fake.messages.size(), 6);  // the deletion's question, then five times the news
  for (const test::ShownMessage& m : fake.messages) {
    if (m.plain) {
      EXPECT_EQ(m.text, supplyGoneMessage());
    }
  }
  EXPECT_EQ(control<LineList>("lstStudenti")->count(), 0);
  open(supply());
  EXPECT_EQ(fake.last().text, supplyGoneMessage());
  EXPECT_FALSE(fs::exists(supply()));
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(SupplySheet, ReopeningShowsTheOtherSupplyOnAFreshCard) {
  writeItems({supplyItem("Vite", "1", "10,10", "10,10"), supplyItem("Dado", "1", "20,25", "20,25")});
  open(supply());
  EXPECT_EQ(control<LineList>("lstStudenti")->count(), 2);
  EXPECT_EQ(label("repTotale")->text(), "30,35");
  click(command("imgUltimo"));
  EXPECT_EQ(edit("txtProdotto")->text(), "Dado");

  open(folder.file("Vuota.for"));
  EXPECT_EQ(control<LineList>("lstStudenti")->count(), 0);
  EXPECT_EQ(label("repTotale")->text(), "0,00");
  EXPECT_TRUE(edit("txtProdotto")->text().isEmpty());
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());
}

TEST_F(SupplySheet, SavingAppendsTheItemWithQuantityTimesPrice) {
  type(edit("txtProdotto"), QStringLiteral("Bulloni"));
  type(edit("txtQuantita"), QStringLiteral("100"));
  type(edit("txtPrezzo"), QStringLiteral("0,05"));
  click(command("cmdSalva"));

  const auto items = stored();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(fs::file_size(supply()), 4106u);
  EXPECT_EQ(items[0][supply::Prodotto], "Bulloni");
  EXPECT_EQ(items[0][supply::Quantita], "100");
  EXPECT_EQ(items[0][supply::Prezzo], "0,05");
  EXPECT_EQ(items[0][supply::Importo], "5,00");
  EXPECT_EQ(items[0][supply::Pagamento], "Saldato");
  EXPECT_EQ(label("lblPosizione")->text(), "1");
  EXPECT_EQ(edit("txtImporto")->text(), "5,00");
  ASSERT_EQ(control<LineList>("lstStudenti")->count(), 1);
  EXPECT_TRUE(lines()[0].startsWith(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))));
  EXPECT_EQ(lines()[0], toQ(itemLine(items[0])));
  EXPECT_EQ(label("repTotale")->text(), "5,00");
  // The card keeps the saved item.
  EXPECT_EQ(edit("txtProdotto")->text(), "Bulloni");
}

TEST_F(SupplySheet, TheAmountTypedIsReplacedByQuantityTimesPrice) {
  type(edit("txtProdotto"), QStringLiteral("Tubo"));
  type(edit("txtQuantita"), QStringLiteral("3"));
  type(edit("txtPrezzo"), QStringLiteral("2,333"));
  type(edit("txtImporto"), QStringLiteral("999"));
  click(command("cmdSalva"));
  ASSERT_EQ(stored().size(), 1u);
  EXPECT_EQ(stored()[0][supply::Importo], "7,00");
  EXPECT_EQ(edit("txtImporto")->text(), "7,00");
  EXPECT_EQ(label("repTotale")->text(), "7,00");

  // Saving again overwrites the same record.
  type(edit("txtQuantita"), QStringLiteral("2"));
  type(edit("txtImporto"), QStringLiteral("1"));
  click(command("cmdSalva"));
  ASSERT_EQ(stored().size(), 1u);
  EXPECT_EQ(stored()[0][supply::Importo], "4,67");
  EXPECT_EQ(label("repTotale")->text(), "4,67");
}

TEST_F(SupplySheet, SaveNeedsThePaymentState) {
  type(edit("txtProdotto"), QStringLiteral("Vite"));
  control<QComboBox>("txtPagamento")->setEditText(QStringLiteral("   "));
  click(command("cmdSalva"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().title, "Salvataggio scheda non applicabile");
  EXPECT_EQ(fake.last().text, u8("Per salvare la scheda è necessario indicare se il pagamento è in sospeso o è stato "
                                 "saldato."));
  EXPECT_TRUE(control<QComboBox>("txtPagamento")->isAncestorOf(QApplication::focusWidget()) ||
              QApplication::focusWidget() == control<QComboBox>("txtPagamento"));
  EXPECT_TRUE(stored().empty());
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());
}

TEST_F(SupplySheet, LeavingTheNumberBoxesFormatsThem) {
  const std::pair<const char*, const char*> prices[] = {{"7", "7,00"}, {"0,125", "0,125"}, {"1,99999", "2,00"}};
  for (const auto& [typed, shown] : prices) {
    type(edit("txtPrezzo"), QString::fromLatin1(typed));
    enter();
    EXPECT_EQ(QApplication::focusWidget(), edit("txtImporto"));
    EXPECT_EQ(edit("txtPrezzo")->text(), QString::fromLatin1(shown)) << typed;
  }
  type(edit("txtImporto"), QStringLiteral("12,5"));
  enter();
  EXPECT_EQ(edit("txtImporto")->text(), "12,50");

  const std::pair<const char*, const char*> quantities[] = {{"0", "1"}, {"", "1"}, {"2,50", "2,5"}};
  for (const auto& [typed, shown] : quantities) {
    type(edit("txtQuantita"), QString::fromLatin1(typed));
    enter();
    EXPECT_EQ(edit("txtQuantita")->text(), QString::fromLatin1(shown)) << typed;
  }
}

TEST_F(SupplySheet, NumberBoxesTakeDigitsAndOneCommaAndResetWhenTooLarge) {
  type(edit("txtPrezzo"), QStringLiteral("1a,2,3.x"));
  EXPECT_EQ(edit("txtPrezzo")->text(), "1,23");
  type(edit("txtQuantita"), QStringLiteral("300000009"));
  EXPECT_EQ(edit("txtQuantita")->text(), "300000009");
  QTest::keyClicks(edit("txtQuantita"), QStringLiteral("1"));
  EXPECT_EQ(edit("txtQuantita")->text(), "1");
  // Backspace always works.
  type(edit("txtPrezzo"), QStringLiteral("12"));
  QTest::keyClick(edit("txtPrezzo"), Qt::Key_Backspace);
  EXPECT_EQ(edit("txtPrezzo")->text(), "1");
  EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(SupplySheet, CalculateWithUnreadableValuesResetsTheNumbers) {
  edit("txtQuantita")->setText(QStringLiteral("tre"));  // pasted
  edit("txtPrezzo")->setText(QStringLiteral("2"));
  click(button("cmdCalcola"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_TRUE(fake.last().plain);
  EXPECT_EQ(fake.last().text, u8("Attenzione: valori non validi.\r\n\r\nInserire correttamente la quantità e il prezzo "
                                 "prima di premere il pulsante Calcola."));
  EXPECT_EQ(edit("txtQuantita")->text(), "1");
  EXPECT_EQ(edit("txtPrezzo")->text(), "0,00");
  EXPECT_EQ(edit("txtImporto")->text(), "0,00");
  EXPECT_EQ(QApplication::focusWidget(), edit("txtImporto"));

  edit("txtQuantita")->setText(QStringLiteral("4"));
  edit("txtPrezzo")->setText(QStringLiteral("2,5"));
  click(button("cmdCalcola"));
  EXPECT_EQ(edit("txtImporto")->text(), "10,00");
}

TEST_F(SupplySheet, NuovoKeepsTheDeliveryFieldsCancellaEmptiesThem) {
  type(edit("txtProdotto"), QStringLiteral("Vite"));
  type(edit("txtLuogo"), QStringLiteral("Milano"));
  type(edit("txtUM"), QStringLiteral("pz"));
  type(edit("txtAspetto"), QStringLiteral("Scatola"));
  type(edit("txtCliente"), QStringLiteral("Rossi"));
  type(edit("txtFornitore"), QStringLiteral("Bianchi"));
  type(edit("txtConsegnatario"), QStringLiteral("Verdi"));
  type(edit("txtVettore"), QStringLiteral("Neri"));
  type(edit("txtAnnotazioni"), QStringLiteral("Fragile"));
  type(edit("txtQuantita"), QStringLiteral("5"));
  control<QComboBox>("txtPagamento")->setEditText(QStringLiteral("In sospeso"));
  edit("txtData")->setText(QStringLiteral("01/01/2020"));
  sheet->attachmentFields().file[0]->setText(QStringLiteral("/tmp/a.pdf"));
  sheet->attachmentFields().folder->setText(QStringLiteral("/tmp"));
  click(command("cmdSalva"));
  ASSERT_EQ(label("lblPosizione")->text(), "1");
  EXPECT_EQ(stored()[0][supply::File01], "/tmp/a.pdf");

  click(command("cmdNuovo"));
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());
  for (QLineEdit* e : {edit("txtProdotto"), edit("txtUM"), edit("txtAspetto"), edit("txtAnnotazioni")})
    EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
  EXPECT_TRUE(sheet->attachmentFields().file[0]->text().isEmpty());
  EXPECT_TRUE(sheet->attachmentFields().folder->text().isEmpty());
  EXPECT_EQ(edit("txtLuogo")->text(), "Milano");
  EXPECT_EQ(edit("txtCliente")->text(), "Rossi");
  EXPECT_EQ(edit("txtFornitore")->text(), "Bianchi");
  EXPECT_EQ(edit("txtConsegnatario")->text(), "Verdi");
  EXPECT_EQ(edit("txtVettore")->text(), "Neri");
  EXPECT_EQ(edit("txtQuantita")->text(), "1");
  EXPECT_EQ(control<QComboBox>("txtPagamento")->currentText(), "Saldato");
  EXPECT_EQ(edit("txtData")->text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
  EXPECT_EQ(QApplication::focusWidget(), edit("txtProdotto"));
  EXPECT_EQ(control<LineList>("lstStudenti")->count(), 1);

  click(command("cmdCancella"));
  for (QLineEdit* e :
       {edit("txtLuogo"), edit("txtCliente"), edit("txtFornitore"), edit("txtConsegnatario"), edit("txtVettore")})
    EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
  EXPECT_EQ(edit("txtPrezzo")->text(), "0,00");
  // Neither touched the file.
  EXPECT_EQ(stored().size(), 1u);
}

TEST_F(SupplySheet, DeleteAsksAndRemovesOnlyTheItemShown) {
  click(command("cmdElimina"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, u8("Attenzione: operazione non valida.\r\n\r\nLa cancellazione può essere applicata "
                                 "soltanto ad una scheda già registrata in archivio."));
  EXPECT_TRUE(fake.last().plain);

  writeItems({supplyItem("Uno", "1", "1,00", "1,00"), supplyItem("Due", "1", "2,00", "2,00"),
              supplyItem("Tre", "1", "3,00", "3,00")});
  click(command("cmdNuovo"));
  click(command("imgPrimo"));
  click(command("imgAvanti"));
  ASSERT_EQ(edit("txtProdotto")->text(), "Due");
  type(edit("txtCliente"), QStringLiteral("Rossi"));

  fake.clear();
  fake.answers.push_back(MsgAnswer::No);
  click(command("cmdElimina"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().title, "Conferma cancellazione scheda");
  EXPECT_EQ(fake.last().text, "Si vuole proprio eliminare la scheda corrente?");
  EXPECT_EQ(fake.last().buttons, MsgButtons::YesNo);
  EXPECT_EQ(fake.last().icon, MsgIcon::None);
  EXPECT_EQ(stored().size(), 3u);
  EXPECT_EQ(label("lblPosizione")->text(), "2");

  click(command("cmdElimina"));  // Yes
  const auto left = stored();
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0][supply::Prodotto], "Uno");
  EXPECT_EQ(left[1][supply::Prodotto], "Tre");
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());
  EXPECT_TRUE(edit("txtProdotto")->text().isEmpty());
  EXPECT_TRUE(edit("txtCliente")->text().isEmpty());  // reset as by Cancella
  EXPECT_EQ(edit("txtQuantita")->text(), "1");
  EXPECT_EQ(control<LineList>("lstStudenti")->count(), 2);
  EXPECT_EQ(label("repTotale")->text(), "4,00");
  EXPECT_EQ(fake.messages.size(), 2);  // no message after the deletion
  EXPECT_FALSE(fs::exists(folder.file("Fornitura.tmp")));

  // Deleting what is left empties the list.
  click(command("imgPrimo"));
  click(command("cmdElimina"));
  click(command("imgPrimo"));
  click(command("cmdElimina"));
  EXPECT_TRUE(stored().empty());
  EXPECT_EQ(control<LineList>("lstStudenti")->count(), 0);
  EXPECT_EQ(label("repTotale")->text(), "0,00");
}

TEST_F(SupplySheet, ItemLinesAndTheLaterOfTwoIdenticalItemsLoads) {
  Record bare = supplyItem("Chiodi", "1", "0,00", "0,00");  // only the mandatory fields
  Record longProduct = supplyItem(Text(80, 'x'), "2", "1,50", "3,00");
  Record twin = supplyItem("Tubo", "2", "3,00", "6,00");
  Record laterTwin = twin;
  laterTwin[supply::Cliente] = "Bianchi";
  writeItems({bare, twin, longProduct, laterTwin});
  click(command("cmdNuovo"));

  const QStringList l = lines();
  ASSERT_EQ(l.size(), 4);
  EXPECT_TRUE(l[0].startsWith(QString(12, QLatin1Char(' ')) + QStringLiteral("  Quant. 1")));
  EXPECT_TRUE(l[0].endsWith(u8("Tot. € 0,00")));
  EXPECT_TRUE(l[2].contains(QString(60, QLatin1Char('x')) + u8("  Tot. € 3,00")));
  EXPECT_FALSE(l[2].contains(QString(61, QLatin1Char('x'))));
  EXPECT_EQ(l[1], l[3]);
  EXPECT_EQ(control<LineList>("lstStudenti")->font().family(), "Courier New");

  clickLine(1);
  EXPECT_EQ(label("lblPosizione")->text(), "4");
  EXPECT_EQ(edit("txtCliente")->text(), "Bianchi");
  clickLine(2);
  EXPECT_EQ(label("lblPosizione")->text(), "3");
  EXPECT_EQ(edit("txtProdotto")->text(), QString(80, QLatin1Char('x')));
  EXPECT_EQ(edit("txtImporto")->text(), "3,00");
  // A click loads the item; it does not reload the list.
  EXPECT_EQ(control<LineList>("lstStudenti")->currentRow(), 2);
}

TEST_F(SupplySheet, NavigationDoesNotReloadTheList) {
  saveItem(QStringLiteral("Uno"), QStringLiteral("1"), QStringLiteral("1"));
  saveItem(QStringLiteral("Due"), QStringLiteral("2"), QStringLiteral("1"));
  ASSERT_EQ(control<LineList>("lstStudenti")->count(), 2);
  ASSERT_EQ(label("repTotale")->text(), "3,00");
  // Another window adds an item behind the sheet's back.
  writeItems({supplyItem("Tre", "1", "5,00", "5,00")});

  click(command("imgUltimo"));
  EXPECT_EQ(edit("txtProdotto")->text(), "Tre");
  EXPECT_EQ(label("lblPosizione")->text(), "3");
  click(command("imgPrimo"));
  click(command("imgAvanti"));
  EXPECT_EQ(edit("txtProdotto")->text(), "Due");
  EXPECT_EQ(control<LineList>("lstStudenti")->count(), 2);
  EXPECT_EQ(label("repTotale")->text(), "3,00");

  click(command("cmdCancella"));
  EXPECT_EQ(control<LineList>("lstStudenti")->count(), 3);
  EXPECT_EQ(label("repTotale")->text(), "8,00");
}

// What the sheet does with an unreadable archive once shown is the card
// suite's; opening one is the sheet's own.
TEST_F(SupplySheet, AnUnreadableSupplyOpensSilentlyWithAnEmptyList) {
  const fs::path broken = folder.file("Guasta.for");
  fs::create_directory(broken);
  open(broken);
  EXPECT_TRUE(fake.messages.isEmpty());
  EXPECT_EQ(control<LineList>("lstStudenti")->count(), 0);
  type(edit("txtProdotto"), QStringLiteral("Vite"));
  click(command("cmdSalva"));
  EXPECT_EQ(fake.texts(), QStringList{archiveAccessMessage()});
}

TEST_F(SupplySheet, EnterWalksTheFifteenFieldsAndColoursFollowTheFocus) {
  const QList<QWidget*> chain{edit("txtProdotto"),      edit("txtData"),     edit("txtOra"),
                              edit("txtLuogo"),         edit("txtQuantita"), edit("txtPrezzo"),
                              edit("txtImporto"),       edit("txtUM"),       control<QComboBox>("txtPagamento"),
                              edit("txtAspetto"),       edit("txtCliente"),  edit("txtFornitore"),
                              edit("txtConsegnatario"), edit("txtVettore"),  edit("txtAnnotazioni")};
  edit("txtProdotto")->setFocus();
  for (int i = 0; i < chain.size(); ++i) {
    QWidget* now = QApplication::focusWidget();
    ASSERT_TRUE(now == chain[i] || chain[i]->isAncestorOf(now)) << i;
    EXPECT_EQ(fieldColour(chain[i]), kFocusYellow) << i;
    enter();
    EXPECT_EQ(fieldColour(chain[i]), kMoneyGreen) << i;
  }
  EXPECT_EQ(QApplication::focusWidget(), edit("txtProdotto"));
  EXPECT_EQ(edit("txtProdotto")->maxLength(), 250);
  EXPECT_EQ(edit("txtData")->maxLength(), 10);
  EXPECT_EQ(edit("txtOra")->maxLength(), 5);
  EXPECT_EQ(edit("txtQuantita")->maxLength(), 16);
  EXPECT_EQ(control<QComboBox>("txtPagamento")->lineEdit()->maxLength(), 10);
  EXPECT_EQ(button("cmdCalcola")->text(), "=");
  EXPECT_FALSE(button("cmdCalcola")->focusPolicy() & Qt::TabFocus);
  EXPECT_FALSE(control<LineList>("lstStudenti")->focusPolicy() & Qt::TabFocus);
}

TEST_F(SupplySheet, DialogsGetTheirHandOverAndAreDestroyedAfterwards) {
  QList<QPointer<QDialog>> shown;
  QStringList classes, memory, quantity, files;
  test::FakeFlow flow;
  flow.onModal = [&](QDialog& d) {
    shown.append(&d);
    classes << QString::fromLatin1(d.metaObject()->className());
    if (auto* s = qobject_cast<TfrmCercaDestinatari*>(&d)) memory << test::label(s, "lblMemory")->text();
    if (auto* s = qobject_cast<TfrmCercaFornitura*>(&d)) memory << test::label(s, "lblMemory")->text();
    if (auto* i = qobject_cast<TfrmImpMateriali*>(&d)) quantity << test::edit(i, "txtQuant")->text();
    if (auto* a = qobject_cast<TfrmAllegatiFor*>(&d))
      files << test::edit(a, "txtFile01")->text() << test::edit(a, "txtDesc03")->text();
    if (auto* c = qobject_cast<TfrmCartellaFor*>(&d))
      files << test::edit(c, "txtFile01")->text() << test::edit(c, "txtDesc01")->text();
    return 0;
  };
  sheet->attachmentFields().file[0]->setText(QStringLiteral("  /dati/a.pdf "));
  sheet->attachmentFields().description[2]->setText(QStringLiteral("terzo"));
  sheet->attachmentFields().folder->setText(QStringLiteral("/dati"));
  sheet->attachmentFields().folderDescription->setText(QStringLiteral("Cartella"));
  type(edit("txtQuantita"), QStringLiteral("2"));

  click(command("impCliente"));
  click(command("cmdRicerca"));
  click(command("impProdotto"));
  click(command("cmdAllega"));
  click(command("cmdAssocia"));
  ASSERT_EQ(shown.size(), 5);
  EXPECT_EQ(classes, QStringList({"zel::TfrmCercaDestinatari", "zel::TfrmCercaFornitura", "zel::TfrmImpMateriali",
                                  "zel::TfrmAllegatiFor", "zel::TfrmCartellaFor"}));
  EXPECT_EQ(memory, QStringList({"forniture", "forniture"}));
  EXPECT_EQ(files, QStringList({"/dati/a.pdf", "terzo", "/dati", "Cartella"}));
  EXPECT_EQ(quantity, QStringList({"2"}));
  for (const auto& d : shown) EXPECT_TRUE(d.isNull());  // made for one use
}

TEST_F(SupplySheet, StatusTextsAndExit) {
  QEvent enterEvent(QEvent::Enter);
  QApplication::sendEvent(command("cmdNuovo"), &enterEvent);
  EXPECT_TRUE(
      label("panInfo")->text().startsWith(" Prepara la schermata ad accogliere una nuova scheda di fornitura "
                                          "senza cancellare"));
  QApplication::sendEvent(command("imgUltimo"), &enterEvent);
  EXPECT_EQ(label("panInfo")->text(), " Visualizza l'ultima scheda in archivio");
  QApplication::sendEvent(control<QWidget>("panDati01"), &enterEvent);
  EXPECT_TRUE(label("panInfo")->text().isEmpty());

  click(command("cmdEsci"));
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_TRUE(home->isVisible());
}

}  // namespace
}  // namespace zel
