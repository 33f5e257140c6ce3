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

QString u8(const char* s) { return QString::fromUtf8(s); }

using test::supplyItem;

class SupplySheet : public ::testing::Test {
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
    test::label(sheet.get(), "lblFile")->setText(pathToQ(file));
    test::label(sheet.get(), "panClasse")->setText(QStringLiteral("Rossi"));
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
    LineList* list = test::named<LineList>(sheet.get(), "lstStudenti");
    const QModelIndex line = list->model()->index(row, 0);
    list->scrollTo(line);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(line).center());
  }
  QStringList lines() const {
    QStringList out;
    for (int i = 0; i < test::named<LineList>(sheet.get(), "lstStudenti")->count(); ++i)
      out << test::named<LineList>(sheet.get(), "lstStudenti")->lineText(i);
    return out;
  }
  void saveItem(const QString& product, const QString& quantity, const QString& price) {
    click(test::clickLabel(sheet.get(), "cmdNuovo"));
    type(test::edit(sheet.get(), "txtProdotto"), product);
    type(test::edit(sheet.get(), "txtQuantita"), quantity);
    type(test::edit(sheet.get(), "txtPrezzo"), price);
    click(test::clickLabel(sheet.get(), "cmdSalva"));
  }

  test::FakeServices fake;
  test::TempProgramFolder folder;
  std::unique_ptr<QWidget> home;
  std::unique_ptr<TfrmForniture> sheet;
};

TEST_F(SupplySheet, OpensOnANewItemWithDefaultsAndAnEmptyList) {
  EXPECT_EQ(test::edit(sheet.get(), "txtData")->text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d$"))
                  .match(test::edit(sheet.get(), "txtOra")->text())
                  .hasMatch());
  EXPECT_EQ(test::edit(sheet.get(), "txtQuantita")->text(), "1");
  EXPECT_EQ(test::edit(sheet.get(), "txtPrezzo")->text(), "0,00");
  EXPECT_EQ(test::edit(sheet.get(), "txtImporto")->text(), "0,00");
  EXPECT_EQ(test::named<QComboBox>(sheet.get(), "txtPagamento")->currentText(), "Saldato");
  EXPECT_EQ(test::named<QComboBox>(sheet.get(), "txtPagamento")->itemText(0), "In sospeso");
  EXPECT_EQ(test::named<QComboBox>(sheet.get(), "txtPagamento")->itemText(1), "Saldato");
  EXPECT_TRUE(test::label(sheet.get(), "lblPosizione")->text().isEmpty());
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 0);
  EXPECT_EQ(test::label(sheet.get(), "repTotale")->text(), "0,00");
  EXPECT_EQ(QApplication::focusWidget(), test::edit(sheet.get(), "txtProdotto"));
  EXPECT_EQ(sheet->windowTitle(), u8(" Zelvano ©"));
  EXPECT_TRUE(fake.messages.isEmpty());
}

// Only the create window makes a supply file: one that another desk deleted
// is said to be gone by every command of the sheet, and never comes back.
TEST_F(SupplySheet, ASupplyDeletedElsewhereIsToldGoneAndNeverRecreated) {
  writeItems({supplyItem("Vite", "1", "10,10", "10,10")});
  open(supply());
  click(test::clickLabel(sheet.get(), "imgPrimo"));
  ASSERT_EQ(test::label(sheet.get(), "lblPosizione")->text(), "1");
  fs::remove(supply());
  fake.messages.clear();

  type(test::edit(sheet.get(), "txtProdotto"), QStringLiteral("Bullone"));
  click(test::clickLabel(sheet.get(), "cmdSalva"));
  click(test::clickLabel(sheet.get(), "imgUltimo"));
  click(test::clickLabel(sheet.get(), "cmdElimina"));
  clickLine(0);
  EXPECT_EQ(test::label(sheet.get(), "lblPosizione")->text(), "1");  // the card stays as it was
  EXPECT_EQ(test::edit(sheet.get(), "txtProdotto")->text(), "Bullone");
  click(test::clickLabel(sheet.get(), "cmdNuovo"));
  ASSERT_EQ(fake.messages.size(), 6);  // the deletion's question, then five times the news
  for (const test::ShownMessage& m : fake.messages) {
    if (m.plain) EXPECT_EQ(m.text, supplyGoneMessage());
  }
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 0);
  open(supply());
  EXPECT_EQ(fake.last().text, supplyGoneMessage());
  EXPECT_FALSE(fs::exists(supply()));
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(SupplySheet, ReopeningShowsTheOtherSupplyOnAFreshCard) {
  writeItems({supplyItem("Vite", "1", "10,10", "10,10"), supplyItem("Dado", "1", "20,25", "20,25")});
  open(supply());
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 2);
  EXPECT_EQ(test::label(sheet.get(), "repTotale")->text(), "30,35");
  click(test::clickLabel(sheet.get(), "imgUltimo"));
  EXPECT_EQ(test::edit(sheet.get(), "txtProdotto")->text(), "Dado");

  open(folder.file("Vuota.for"));
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 0);
  EXPECT_EQ(test::label(sheet.get(), "repTotale")->text(), "0,00");
  EXPECT_TRUE(test::edit(sheet.get(), "txtProdotto")->text().isEmpty());
  EXPECT_TRUE(test::label(sheet.get(), "lblPosizione")->text().isEmpty());
}

TEST_F(SupplySheet, SavingAppendsTheItemWithQuantityTimesPrice) {
  type(test::edit(sheet.get(), "txtProdotto"), QStringLiteral("Bulloni"));
  type(test::edit(sheet.get(), "txtQuantita"), QStringLiteral("100"));
  type(test::edit(sheet.get(), "txtPrezzo"), QStringLiteral("0,05"));
  click(test::clickLabel(sheet.get(), "cmdSalva"));

  const auto items = stored();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(fs::file_size(supply()), 4106u);
  EXPECT_EQ(items[0][supply::Prodotto], "Bulloni");
  EXPECT_EQ(items[0][supply::Quantita], "100");
  EXPECT_EQ(items[0][supply::Prezzo], "0,05");
  EXPECT_EQ(items[0][supply::Importo], "5,00");
  EXPECT_EQ(items[0][supply::Pagamento], "Saldato");
  EXPECT_EQ(test::label(sheet.get(), "lblPosizione")->text(), "1");
  EXPECT_EQ(test::edit(sheet.get(), "txtImporto")->text(), "5,00");
  ASSERT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 1);
  EXPECT_TRUE(lines()[0].startsWith(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))));
  EXPECT_EQ(lines()[0], toQ(itemLine(items[0])));
  EXPECT_EQ(test::label(sheet.get(), "repTotale")->text(), "5,00");
  // The card keeps the saved item.
  EXPECT_EQ(test::edit(sheet.get(), "txtProdotto")->text(), "Bulloni");
}

TEST_F(SupplySheet, TheAmountTypedIsReplacedByQuantityTimesPrice) {
  type(test::edit(sheet.get(), "txtProdotto"), QStringLiteral("Tubo"));
  type(test::edit(sheet.get(), "txtQuantita"), QStringLiteral("3"));
  type(test::edit(sheet.get(), "txtPrezzo"), QStringLiteral("2,333"));
  type(test::edit(sheet.get(), "txtImporto"), QStringLiteral("999"));
  click(test::clickLabel(sheet.get(), "cmdSalva"));
  ASSERT_EQ(stored().size(), 1u);
  EXPECT_EQ(stored()[0][supply::Importo], "7,00");
  EXPECT_EQ(test::edit(sheet.get(), "txtImporto")->text(), "7,00");
  EXPECT_EQ(test::label(sheet.get(), "repTotale")->text(), "7,00");

  // Saving again overwrites the same record.
  type(test::edit(sheet.get(), "txtQuantita"), QStringLiteral("2"));
  type(test::edit(sheet.get(), "txtImporto"), QStringLiteral("1"));
  click(test::clickLabel(sheet.get(), "cmdSalva"));
  ASSERT_EQ(stored().size(), 1u);
  EXPECT_EQ(stored()[0][supply::Importo], "4,67");
  EXPECT_EQ(test::label(sheet.get(), "repTotale")->text(), "4,67");
}

TEST_F(SupplySheet, SaveNeedsThePaymentState) {
  type(test::edit(sheet.get(), "txtProdotto"), QStringLiteral("Vite"));
  test::named<QComboBox>(sheet.get(), "txtPagamento")->setEditText(QStringLiteral("   "));
  click(test::clickLabel(sheet.get(), "cmdSalva"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().title, "Salvataggio scheda non applicabile");
  EXPECT_EQ(fake.last().text, u8("Per salvare la scheda è necessario indicare se il pagamento è in sospeso o è stato "
                                 "saldato."));
  EXPECT_TRUE(test::named<QComboBox>(sheet.get(), "txtPagamento")->isAncestorOf(QApplication::focusWidget()) ||
              QApplication::focusWidget() == test::named<QComboBox>(sheet.get(), "txtPagamento"));
  EXPECT_TRUE(stored().empty());
  EXPECT_TRUE(test::label(sheet.get(), "lblPosizione")->text().isEmpty());
}

TEST_F(SupplySheet, LeavingTheNumberBoxesFormatsThem) {
  const std::pair<const char*, const char*> prices[] = {{"7", "7,00"}, {"0,125", "0,125"}, {"1,99999", "2,00"}};
  for (const auto& [typed, shown] : prices) {
    type(test::edit(sheet.get(), "txtPrezzo"), QString::fromLatin1(typed));
    enter();
    EXPECT_EQ(QApplication::focusWidget(), test::edit(sheet.get(), "txtImporto"));
    EXPECT_EQ(test::edit(sheet.get(), "txtPrezzo")->text(), QString::fromLatin1(shown)) << typed;
  }
  type(test::edit(sheet.get(), "txtImporto"), QStringLiteral("12,5"));
  enter();
  EXPECT_EQ(test::edit(sheet.get(), "txtImporto")->text(), "12,50");

  const std::pair<const char*, const char*> quantities[] = {{"0", "1"}, {"", "1"}, {"2,50", "2,5"}};
  for (const auto& [typed, shown] : quantities) {
    type(test::edit(sheet.get(), "txtQuantita"), QString::fromLatin1(typed));
    enter();
    EXPECT_EQ(test::edit(sheet.get(), "txtQuantita")->text(), QString::fromLatin1(shown)) << typed;
  }
}

TEST_F(SupplySheet, NumberBoxesTakeDigitsAndOneCommaAndResetWhenTooLarge) {
  type(test::edit(sheet.get(), "txtPrezzo"), QStringLiteral("1a,2,3.x"));
  EXPECT_EQ(test::edit(sheet.get(), "txtPrezzo")->text(), "1,23");
  type(test::edit(sheet.get(), "txtQuantita"), QStringLiteral("300000009"));
  EXPECT_EQ(test::edit(sheet.get(), "txtQuantita")->text(), "300000009");
  QTest::keyClicks(test::edit(sheet.get(), "txtQuantita"), QStringLiteral("1"));
  EXPECT_EQ(test::edit(sheet.get(), "txtQuantita")->text(), "1");
  // Backspace always works.
  type(test::edit(sheet.get(), "txtPrezzo"), QStringLiteral("12"));
  QTest::keyClick(test::edit(sheet.get(), "txtPrezzo"), Qt::Key_Backspace);
  EXPECT_EQ(test::edit(sheet.get(), "txtPrezzo")->text(), "1");
  EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(SupplySheet, CalculateWithUnreadableValuesResetsTheNumbers) {
  test::edit(sheet.get(), "txtQuantita")->setText(QStringLiteral("tre"));  // pasted
  test::edit(sheet.get(), "txtPrezzo")->setText(QStringLiteral("2"));
  click(test::button(sheet.get(), "cmdCalcola"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_TRUE(fake.last().plain);
  EXPECT_EQ(fake.last().text, u8("Attenzione: valori non validi.\r\n\r\nInserire correttamente la quantità e il prezzo "
                                 "prima di premere il pulsante Calcola."));
  EXPECT_EQ(test::edit(sheet.get(), "txtQuantita")->text(), "1");
  EXPECT_EQ(test::edit(sheet.get(), "txtPrezzo")->text(), "0,00");
  EXPECT_EQ(test::edit(sheet.get(), "txtImporto")->text(), "0,00");
  EXPECT_EQ(QApplication::focusWidget(), test::edit(sheet.get(), "txtImporto"));

  test::edit(sheet.get(), "txtQuantita")->setText(QStringLiteral("4"));
  test::edit(sheet.get(), "txtPrezzo")->setText(QStringLiteral("2,5"));
  click(test::button(sheet.get(), "cmdCalcola"));
  EXPECT_EQ(test::edit(sheet.get(), "txtImporto")->text(), "10,00");
}

TEST_F(SupplySheet, NuovoKeepsTheDeliveryFieldsCancellaEmptiesThem) {
  type(test::edit(sheet.get(), "txtProdotto"), QStringLiteral("Vite"));
  type(test::edit(sheet.get(), "txtLuogo"), QStringLiteral("Milano"));
  type(test::edit(sheet.get(), "txtUM"), QStringLiteral("pz"));
  type(test::edit(sheet.get(), "txtAspetto"), QStringLiteral("Scatola"));
  type(test::edit(sheet.get(), "txtCliente"), QStringLiteral("Rossi"));
  type(test::edit(sheet.get(), "txtFornitore"), QStringLiteral("Bianchi"));
  type(test::edit(sheet.get(), "txtConsegnatario"), QStringLiteral("Verdi"));
  type(test::edit(sheet.get(), "txtVettore"), QStringLiteral("Neri"));
  type(test::edit(sheet.get(), "txtAnnotazioni"), QStringLiteral("Fragile"));
  type(test::edit(sheet.get(), "txtQuantita"), QStringLiteral("5"));
  test::named<QComboBox>(sheet.get(), "txtPagamento")->setEditText(QStringLiteral("In sospeso"));
  test::edit(sheet.get(), "txtData")->setText(QStringLiteral("01/01/2020"));
  sheet->attachmentFields().file[0]->setText(QStringLiteral("/tmp/a.pdf"));
  sheet->attachmentFields().folder->setText(QStringLiteral("/tmp"));
  click(test::clickLabel(sheet.get(), "cmdSalva"));
  ASSERT_EQ(test::label(sheet.get(), "lblPosizione")->text(), "1");
  EXPECT_EQ(stored()[0][supply::File01], "/tmp/a.pdf");

  click(test::clickLabel(sheet.get(), "cmdNuovo"));
  EXPECT_TRUE(test::label(sheet.get(), "lblPosizione")->text().isEmpty());
  for (QLineEdit* e : {test::edit(sheet.get(), "txtProdotto"), test::edit(sheet.get(), "txtUM"),
                       test::edit(sheet.get(), "txtAspetto"), test::edit(sheet.get(), "txtAnnotazioni")})
    EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
  EXPECT_TRUE(sheet->attachmentFields().file[0]->text().isEmpty());
  EXPECT_TRUE(sheet->attachmentFields().folder->text().isEmpty());
  EXPECT_EQ(test::edit(sheet.get(), "txtLuogo")->text(), "Milano");
  EXPECT_EQ(test::edit(sheet.get(), "txtCliente")->text(), "Rossi");
  EXPECT_EQ(test::edit(sheet.get(), "txtFornitore")->text(), "Bianchi");
  EXPECT_EQ(test::edit(sheet.get(), "txtConsegnatario")->text(), "Verdi");
  EXPECT_EQ(test::edit(sheet.get(), "txtVettore")->text(), "Neri");
  EXPECT_EQ(test::edit(sheet.get(), "txtQuantita")->text(), "1");
  EXPECT_EQ(test::named<QComboBox>(sheet.get(), "txtPagamento")->currentText(), "Saldato");
  EXPECT_EQ(test::edit(sheet.get(), "txtData")->text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
  EXPECT_EQ(QApplication::focusWidget(), test::edit(sheet.get(), "txtProdotto"));
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 1);

  click(test::clickLabel(sheet.get(), "cmdCancella"));
  for (QLineEdit* e : {test::edit(sheet.get(), "txtLuogo"), test::edit(sheet.get(), "txtCliente"),
                       test::edit(sheet.get(), "txtFornitore"), test::edit(sheet.get(), "txtConsegnatario"),
                       test::edit(sheet.get(), "txtVettore")})
    EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
  EXPECT_EQ(test::edit(sheet.get(), "txtPrezzo")->text(), "0,00");
  // Neither touched the file.
  EXPECT_EQ(stored().size(), 1u);
}

TEST_F(SupplySheet, DeleteAsksAndRemovesOnlyTheItemShown) {
  click(test::clickLabel(sheet.get(), "cmdElimina"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, u8("Attenzione: operazione non valida.\r\n\r\nLa cancellazione può essere applicata "
                                 "soltanto ad una scheda già registrata in archivio."));
  EXPECT_TRUE(fake.last().plain);

  writeItems({supplyItem("Uno", "1", "1,00", "1,00"), supplyItem("Due", "1", "2,00", "2,00"),
              supplyItem("Tre", "1", "3,00", "3,00")});
  click(test::clickLabel(sheet.get(), "cmdNuovo"));
  click(test::clickLabel(sheet.get(), "imgPrimo"));
  click(test::clickLabel(sheet.get(), "imgAvanti"));
  ASSERT_EQ(test::edit(sheet.get(), "txtProdotto")->text(), "Due");
  type(test::edit(sheet.get(), "txtCliente"), QStringLiteral("Rossi"));

  fake.clear();
  fake.answers.push_back(MsgAnswer::No);
  click(test::clickLabel(sheet.get(), "cmdElimina"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().title, "Conferma cancellazione scheda");
  EXPECT_EQ(fake.last().text, "Si vuole proprio eliminare la scheda corrente?");
  EXPECT_EQ(fake.last().buttons, MsgButtons::YesNo);
  EXPECT_EQ(fake.last().icon, MsgIcon::None);
  EXPECT_EQ(stored().size(), 3u);
  EXPECT_EQ(test::label(sheet.get(), "lblPosizione")->text(), "2");

  click(test::clickLabel(sheet.get(), "cmdElimina"));  // Yes
  const auto left = stored();
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0][supply::Prodotto], "Uno");
  EXPECT_EQ(left[1][supply::Prodotto], "Tre");
  EXPECT_TRUE(test::label(sheet.get(), "lblPosizione")->text().isEmpty());
  EXPECT_TRUE(test::edit(sheet.get(), "txtProdotto")->text().isEmpty());
  EXPECT_TRUE(test::edit(sheet.get(), "txtCliente")->text().isEmpty());  // reset as by Cancella
  EXPECT_EQ(test::edit(sheet.get(), "txtQuantita")->text(), "1");
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 2);
  EXPECT_EQ(test::label(sheet.get(), "repTotale")->text(), "4,00");
  EXPECT_EQ(fake.messages.size(), 2);  // no message after the deletion
  EXPECT_FALSE(fs::exists(folder.file("Fornitura.tmp")));

  // Deleting what is left empties the list.
  click(test::clickLabel(sheet.get(), "imgPrimo"));
  click(test::clickLabel(sheet.get(), "cmdElimina"));
  click(test::clickLabel(sheet.get(), "imgPrimo"));
  click(test::clickLabel(sheet.get(), "cmdElimina"));
  EXPECT_TRUE(stored().empty());
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 0);
  EXPECT_EQ(test::label(sheet.get(), "repTotale")->text(), "0,00");
}

TEST_F(SupplySheet, ItemLinesAndTheLaterOfTwoIdenticalItemsLoads) {
  Record bare = supplyItem("Chiodi", "1", "0,00", "0,00");  // only the mandatory fields
  Record longProduct = supplyItem(Text(80, 'x'), "2", "1,50", "3,00");
  Record twin = supplyItem("Tubo", "2", "3,00", "6,00");
  Record laterTwin = twin;
  laterTwin[supply::Cliente] = "Bianchi";
  writeItems({bare, twin, longProduct, laterTwin});
  click(test::clickLabel(sheet.get(), "cmdNuovo"));

  const QStringList l = lines();
  ASSERT_EQ(l.size(), 4);
  EXPECT_TRUE(l[0].startsWith(QString(12, QLatin1Char(' ')) + QStringLiteral("  Quant. 1")));
  EXPECT_TRUE(l[0].endsWith(u8("Tot. € 0,00")));
  EXPECT_TRUE(l[2].contains(QString(60, QLatin1Char('x')) + u8("  Tot. € 3,00")));
  EXPECT_FALSE(l[2].contains(QString(61, QLatin1Char('x'))));
  EXPECT_EQ(l[1], l[3]);
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->font().family(), "Courier New");

  clickLine(1);
  EXPECT_EQ(test::label(sheet.get(), "lblPosizione")->text(), "4");
  EXPECT_EQ(test::edit(sheet.get(), "txtCliente")->text(), "Bianchi");
  clickLine(2);
  EXPECT_EQ(test::label(sheet.get(), "lblPosizione")->text(), "3");
  EXPECT_EQ(test::edit(sheet.get(), "txtProdotto")->text(), QString(80, QLatin1Char('x')));
  EXPECT_EQ(test::edit(sheet.get(), "txtImporto")->text(), "3,00");
  // A click loads the item; it does not reload the list.
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->currentRow(), 2);
}

TEST_F(SupplySheet, NavigationDoesNotReloadTheList) {
  saveItem(QStringLiteral("Uno"), QStringLiteral("1"), QStringLiteral("1"));
  saveItem(QStringLiteral("Due"), QStringLiteral("2"), QStringLiteral("1"));
  ASSERT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 2);
  ASSERT_EQ(test::label(sheet.get(), "repTotale")->text(), "3,00");
  // Another window adds an item behind the sheet's back.
  writeItems({supplyItem("Tre", "1", "5,00", "5,00")});

  click(test::clickLabel(sheet.get(), "imgUltimo"));
  EXPECT_EQ(test::edit(sheet.get(), "txtProdotto")->text(), "Tre");
  EXPECT_EQ(test::label(sheet.get(), "lblPosizione")->text(), "3");
  click(test::clickLabel(sheet.get(), "imgPrimo"));
  click(test::clickLabel(sheet.get(), "imgAvanti"));
  EXPECT_EQ(test::edit(sheet.get(), "txtProdotto")->text(), "Due");
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 2);
  EXPECT_EQ(test::label(sheet.get(), "repTotale")->text(), "3,00");

  click(test::clickLabel(sheet.get(), "cmdCancella"));
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 3);
  EXPECT_EQ(test::label(sheet.get(), "repTotale")->text(), "8,00");
}

// What the sheet does with an unreadable archive once shown is the card
// suite's; opening one is the sheet's own.
TEST_F(SupplySheet, AnUnreadableSupplyOpensSilentlyWithAnEmptyList) {
  const fs::path broken = folder.file("Guasta.for");
  fs::create_directory(broken);
  open(broken);
  EXPECT_TRUE(fake.messages.isEmpty());
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 0);
  type(test::edit(sheet.get(), "txtProdotto"), QStringLiteral("Vite"));
  click(test::clickLabel(sheet.get(), "cmdSalva"));
  EXPECT_EQ(fake.texts(), QStringList{archiveAccessMessage()});
}

TEST_F(SupplySheet, EnterWalksTheFifteenFieldsAndColoursFollowTheFocus) {
  const QList<QWidget*> chain{test::edit(sheet.get(), "txtProdotto"),
                              test::edit(sheet.get(), "txtData"),
                              test::edit(sheet.get(), "txtOra"),
                              test::edit(sheet.get(), "txtLuogo"),
                              test::edit(sheet.get(), "txtQuantita"),
                              test::edit(sheet.get(), "txtPrezzo"),
                              test::edit(sheet.get(), "txtImporto"),
                              test::edit(sheet.get(), "txtUM"),
                              test::named<QComboBox>(sheet.get(), "txtPagamento"),
                              test::edit(sheet.get(), "txtAspetto"),
                              test::edit(sheet.get(), "txtCliente"),
                              test::edit(sheet.get(), "txtFornitore"),
                              test::edit(sheet.get(), "txtConsegnatario"),
                              test::edit(sheet.get(), "txtVettore"),
                              test::edit(sheet.get(), "txtAnnotazioni")};
  test::edit(sheet.get(), "txtProdotto")->setFocus();
  for (int i = 0; i < chain.size(); ++i) {
    QWidget* now = QApplication::focusWidget();
    ASSERT_TRUE(now == chain[i] || chain[i]->isAncestorOf(now)) << i;
    EXPECT_EQ(fieldColour(chain[i]), kFocusYellow) << i;
    enter();
    EXPECT_EQ(fieldColour(chain[i]), kMoneyGreen) << i;
  }
  EXPECT_EQ(QApplication::focusWidget(), test::edit(sheet.get(), "txtProdotto"));
  EXPECT_EQ(test::edit(sheet.get(), "txtProdotto")->maxLength(), 250);
  EXPECT_EQ(test::edit(sheet.get(), "txtData")->maxLength(), 10);
  EXPECT_EQ(test::edit(sheet.get(), "txtOra")->maxLength(), 5);
  EXPECT_EQ(test::edit(sheet.get(), "txtQuantita")->maxLength(), 16);
  EXPECT_EQ(test::named<QComboBox>(sheet.get(), "txtPagamento")->lineEdit()->maxLength(), 10);
  EXPECT_EQ(test::button(sheet.get(), "cmdCalcola")->text(), "=");
  EXPECT_FALSE(test::button(sheet.get(), "cmdCalcola")->focusPolicy() & Qt::TabFocus);
  EXPECT_FALSE(test::named<LineList>(sheet.get(), "lstStudenti")->focusPolicy() & Qt::TabFocus);
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
  type(test::edit(sheet.get(), "txtQuantita"), QStringLiteral("2"));

  click(test::clickLabel(sheet.get(), "impCliente"));
  click(test::clickLabel(sheet.get(), "cmdRicerca"));
  click(test::clickLabel(sheet.get(), "impProdotto"));
  click(test::clickLabel(sheet.get(), "cmdAllega"));
  click(test::clickLabel(sheet.get(), "cmdAssocia"));
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
  QApplication::sendEvent(test::clickLabel(sheet.get(), "cmdNuovo"), &enterEvent);
  EXPECT_TRUE(test::label(sheet.get(), "panInfo")
                  ->text()
                  .startsWith(" Prepara la schermata ad accogliere una nuova scheda di fornitura "
                              "senza cancellare"));
  QApplication::sendEvent(test::clickLabel(sheet.get(), "imgUltimo"), &enterEvent);
  EXPECT_EQ(test::label(sheet.get(), "panInfo")->text(), " Visualizza l'ultima scheda in archivio");
  QApplication::sendEvent(test::named<QWidget>(sheet.get(), "panDati01"), &enterEvent);
  EXPECT_TRUE(test::label(sheet.get(), "panInfo")->text().isEmpty());

  click(test::clickLabel(sheet.get(), "cmdEsci"));
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_TRUE(home->isVisible());
}

}  // namespace
}  // namespace zel
