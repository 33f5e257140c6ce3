// The six list windows driven through their openers, as a user drives them:
// criteria, Trova, the list, find in list, print (through the services
// fake) and the pick into the card or the supply sheet. The rules behind
// the lists are tested in the core; here it is the wiring.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <filesystem>

#include "clients/cercadestinatari.h"
#include "clients/destinatari.h"
#include "products/cercamateriale.h"
#include "products/cercasottoscorta.h"
#include "products/impmateriali.h"
#include "products/materiali.h"
#include "store/fields.h"
#include "store/layout.h"
#include "store/recordfile.h"
#include "supplies/cercafornitura.h"
#include "supplies/cercaincompleti.h"
#include "supplies/forniture.h"
#include "support/files.h"
#include "support/records.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

using test::appendRecords;
using test::readText;

Record clientRecord(const Text& codice, const Text& persona, const Text& citta) {
  return test::recordOf(clientLayout(), {{client::Codice, codice}, {client::Persona, persona}, {client::Citta, citta}});
}

Record productRecord(const Text& codice, const Text& giacenza, const Text& sottoscorta) {
  Record r = emptyRecord(productLayout());
  r[product::Codice] = codice;
  r[product::Marca] = "Bosch";
  r[product::Descrizione] = "Trapano " + codice;
  r[product::Fornitore] = "Ferri S.p.A.";
  r[product::Prezzo] = "12,50";
  r[product::Giacenza] = giacenza;
  r[product::Sottoscorta] = sottoscorta;
  return r;
}

Record supplyItem(const Text& prodotto, const Text& data, const Text& cliente, const Text& pagamento,
                  const Text& importo) {
  Record r = test::supplyItem(prodotto, "1", importo, importo, pagamento);
  r[supply::Data] = data;
  r[supply::Cliente] = cliente;
  return r;
}

class ListWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    home = std::make_unique<QWidget>();
    MainScreen::setHomeScreen(home.get());
    sheet = std::make_unique<TfrmForniture>();
    nav.set(WindowId::SupplySheet, sheet.get());
  }
  void TearDown() override { MainScreen::setHomeScreen(nullptr); }

  // The supply sheet on screen with the supply "Rossi".
  void openSupply(const std::vector<Record>& items) {
    appendRecords(supply(), supplyLayout(), items);
    sheet->openSupply(pathToQ(supply()), QStringLiteral(" Rossi "));
    sheet->show();
    QCoreApplication::processEvents();
  }
  fs::path supply() const { return folder.file("Rossi.for"); }
  fs::path products() const { return folder.file("Materiali.pro"); }

  // The next window run modally is shown and handed to `drive`, as the user
  // would find it on screen.
  template <class W>
  void whenShown(std::function<void(W&)> drive) {
    flow.onModal = [this, drive](QDialog& d) {
      d.show();
      QApplication::setActiveWindow(&d);
      QCoreApplication::processEvents();
      auto* w = qobject_cast<W*>(&d);
      EXPECT_NE(w, nullptr) << d.metaObject()->className();
      if (w) drive(*w);
      shown.append(&d);
      stillVisible = d.isVisible();
      return 0;
    };
  }

  static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
  static void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, text);
  }
  static void enter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }
  static QStringList lines(const ResultList& r) {
    QStringList out;
    for (std::string_view l : r.lines()) out << toQ(Text(l));
    return out;
  }
  static int rowOf(const ResultList& r, const QString& part) {
    const QStringList all = lines(r);
    for (int i = 0; i < all.size(); ++i)
      if (all[i].contains(part)) return i;
    return -1;
  }
  // A click (or a double click) on the visible start of a line.
  static void clickLine(QWidget& window, int row, bool twice = false) {
    QListView* list = test::named<LineList>(&window, "lstRecords");
    const QModelIndex i = list->model()->index(row, 0);
    list->scrollTo(i);
    const QPoint at(list->visualRect(i).left() + 20, list->visualRect(i).center().y());
    if (twice) {
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    } else {
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    }
  }

  test::FakeServices fake;
  test::FakeFlow flow;
  test::FakeNavigation nav;
  test::TempProgramFolder folder;
  std::unique_ptr<QWidget> home;
  std::unique_ptr<TfrmForniture> sheet;
  QList<QPointer<QDialog>> shown;
  bool stillVisible = false;
};

TEST_F(ListWindows, ClientSearchFindsFindsInListPrintsAndLoadsTheCard) {
  appendRecords(
      folder.file("Anagrafica.pro"), clientLayout(),
      {clientRecord("CL1", "Rossi Mario", "20121 Milano (MI)"), clientRecord("CL2", "Rossi Anna", "00184 Roma (RM)"),
       clientRecord("CL3", "Bianchi Rosa", "20121 Milano (MI)")});
  TfrmDestinatari card;
  card.show();
  nav.set(WindowId::ClientCard, &card);

  whenShown<TfrmCercaDestinatari>([&](TfrmCercaDestinatari& w) {
    EXPECT_EQ(test::label(&w, "lblMemory")->text(), "anagrafica");
    EXPECT_EQ(QApplication::focusWidget(), test::edit(&w, "txtCodice"));
    type(test::edit(&w, "txtPersona"), QStringLiteral("ross"));
    enter(test::edit(&w, "txtPersona"));
    EXPECT_EQ(QApplication::focusWidget(), test::edit(&w, "txtUfficio"));
    type(test::edit(&w, "txtCitta"), QStringLiteral("MI"));
    click(test::button(&w, "cmdTrova"));
    ASSERT_EQ(w.resultList().count(), 1);
    EXPECT_TRUE(lines(w.resultList())[0].contains("Rossi Mario"));
    EXPECT_TRUE(test::named<QGroupBox>(&w, "grpElenco")->isVisible() &&
                !test::named<QGroupBox>(&w, "grpCriteri")->isVisible());
    EXPECT_TRUE(!test::button(&w, "cmdTrova")->isEnabled() && test::button(&w, "cmdIndietro")->isEnabled() &&
                test::button(&w, "cmdStampa")->isEnabled());

    // Back to the criteria, which keep their texts; one criterion fewer.
    click(test::button(&w, "cmdIndietro"));
    EXPECT_TRUE(test::named<QGroupBox>(&w, "grpCriteri")->isVisible() &&
                test::edit(&w, "txtPersona")->text() == "ross");
    test::edit(&w, "txtCitta")->clear();
    click(test::button(&w, "cmdTrova"));
    ASSERT_EQ(w.resultList().count(), 2);

    // Find in list: Enter in the box, then the button with the same text.
    type(test::edit(&w, "txtTrova"), QStringLiteral("ROSSI"));
    enter(test::edit(&w, "txtTrova"));
    EXPECT_EQ(w.resultList().selectedRow(), 0);
    click(test::button(&w, "cmdTrova02"));
    EXPECT_EQ(w.resultList().selectedRow(), 1);
    click(test::button(&w, "cmdTrova02"));
    EXPECT_EQ(w.resultList().selectedRow(), 0) << "wraps round";

    click(test::button(&w, "cmdStampa"));
    EXPECT_EQ(fake.printed, QStringList{"Anagrafica clienti"});
    EXPECT_EQ(fake.last().text, "Si vuole stampare il presente elenco?");

    clickLine(w, rowOf(w.resultList(), "Rossi Anna"), true);
  });
  click(test::clickLabel(&card, "cmdRicerca"));
  ASSERT_EQ(shown.size(), 1);
  EXPECT_FALSE(stillVisible) << "a pick closes the window";
  EXPECT_TRUE(shown[0].isNull()) << "the card destroys it";
  EXPECT_EQ(test::edit(&card, "txtPersona")->text(), "Rossi Anna");
  EXPECT_EQ(test::edit(&card, "txtCodice")->text(), "CL2");
  EXPECT_EQ(test::label(&card, "lblPosizione")->text(), "2");
}

// Searches and lists run as long work: a stopped search stays on its
// criteria, a stopped list closes its window, neither says a word.
TEST_F(ListWindows, StoppedSearchesAndListsShowNothingAndSayNothing) {
  appendRecords(folder.file("Anagrafica.pro"), clientLayout(), {clientRecord("CL1", "Rossi Mario", "Milano")});
  appendRecords(products(), productLayout(), {productRecord("ABC-1", "5", "5")});
  TfrmDestinatari card;
  card.show();
  nav.set(WindowId::ClientCard, &card);
  TfrmMateriali productCard;
  nav.set(WindowId::ProductCard, &productCard);

  whenShown<TfrmCercaDestinatari>([&](TfrmCercaDestinatari& w) {
    fake.cancelLongWork = true;
    click(test::button(&w, "cmdTrova"));
    EXPECT_TRUE(test::named<QGroupBox>(&w, "grpCriteri")->isVisible() && test::button(&w, "cmdTrova")->isEnabled());
    EXPECT_EQ(w.resultList().count(), 0);
    fake.cancelLongWork = false;
    click(test::button(&w, "cmdTrova"));
    EXPECT_EQ(w.resultList().count(), 1);
  });
  click(test::clickLabel(&card, "cmdRicerca"));
  EXPECT_EQ(fake.longWork, QStringList({"Ricerca in corso...", "Ricerca in corso..."}));

  fake.cancelLongWork = true;
  whenShown<TfrmCercaSottoscorta>([&](TfrmCercaSottoscorta& w) {
    EXPECT_EQ(w.resultList().count(), 0);
    QCoreApplication::processEvents();  // the window closes itself
  });
  click(test::clickLabel(&productCard, "imgDoppioTurno"));
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(fake.longWork.last(), "Preparazione dell'elenco in corso...");
  EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(ListWindows, ClientSearchFromTheSheetFillsOnlyTheClient) {
  openSupply({});
  appendRecords(folder.file("Anagrafica.pro"), clientLayout(),
                {clientRecord("CL1", "Rossi Mario", "Milano"), clientRecord("CL2", "Bianchi Rosa", "Roma")});
  test::edit(sheet.get(), "txtProdotto")->setText(QStringLiteral("Trapano"));
  whenShown<TfrmCercaDestinatari>([&](TfrmCercaDestinatari& w) {
    EXPECT_EQ(test::label(&w, "lblMemory")->text(), "forniture");
    type(test::edit(&w, "txtNote"), QStringLiteral("nessuno"));
    click(test::button(&w, "cmdTrova"));
    EXPECT_TRUE(test::named<QGroupBox>(&w, "grpElenco")->isVisible()) << "an empty result still shows the list page";
    click(test::button(&w, "cmdTrova02"));
    EXPECT_EQ(fake.texts(), QStringList{"Ricerca non applicabile: la lista non contiene nessuna voce."});
    click(test::button(&w, "cmdIndietro"));
    test::edit(&w, "txtNote")->clear();
    click(test::button(&w, "cmdTrova"));
    clickLine(w, rowOf(w.resultList(), "Bianchi"), true);
  });
  click(test::clickLabel(sheet.get(), "impCliente"));
  EXPECT_EQ(test::edit(sheet.get(), "txtCliente")->text(), "Bianchi Rosa");
  EXPECT_EQ(test::edit(sheet.get(), "txtProdotto")->text(), "Trapano");
  EXPECT_TRUE(test::label(sheet.get(), "lblPosizione")->text().isEmpty());
}

TEST_F(ListWindows, ProductSearchAndUnderStockListLoadTheProductCard) {
  appendRecords(products(), productLayout(),
                {productRecord("ABC-1", "5", "5"), productRecord("ABC-2", "6", "5"), productRecord("XYZ-3", "0", "0")});
  TfrmMateriali card;
  card.show();
  nav.set(WindowId::ProductCard, &card);

  whenShown<TfrmCercaMateriale>([&](TfrmCercaMateriale& w) {
    EXPECT_EQ(test::label(&w, "lblMemory")->text(), "materiali");
    type(test::edit(&w, "txtCognome"), QStringLiteral("abc"));
    type(test::edit(&w, "txtNome"), QStringLiteral(" "));
    click(test::button(&w, "cmdTrova"));
    EXPECT_EQ(test::label(&w, "lblConta")->text(), "1");
    ASSERT_EQ(w.resultList().count(), 2);
    click(test::button(&w, "cmdStampa"));
    EXPECT_EQ(fake.printed, QStringList{"Elenco prodotti e servizi"});
    clickLine(w, rowOf(w.resultList(), "ABC-2"), true);
  });
  click(test::clickLabel(&card, "imgTrova"));
  EXPECT_EQ(test::edit(&card, "txtCodice")->text(), "ABC-2");
  EXPECT_EQ(test::label(&card, "lblPosizione")->text(), "2");

  whenShown<TfrmCercaSottoscorta>([&](TfrmCercaSottoscorta& w) {
    ASSERT_EQ(w.resultList().count(), 2) << "5/5 and 0/0 are under stock, 6/5 is not";
    EXPECT_GE(rowOf(w.resultList(), "ABC-1"), 0);
    EXPECT_EQ(rowOf(w.resultList(), "ABC-2"), -1);
    type(test::edit(&w, "txtTrova"), QStringLiteral("xyz"));
    click(test::button(&w, "cmdTrova02"));
    EXPECT_EQ(w.resultList().selectedRow(), rowOf(w.resultList(), "XYZ-3"));
    click(test::button(&w, "cmdStampa"));
    EXPECT_EQ(fake.printed.last(), "Materiali in esaurimento");
    clickLine(w, rowOf(w.resultList(), "XYZ-3"), true);
  });
  click(test::clickLabel(&card, "imgDoppioTurno"));
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(test::edit(&card, "txtCodice")->text(), "XYZ-3");
  EXPECT_EQ(test::label(&card, "lblPosizione")->text(), "3");
}

TEST_F(ListWindows, SupplySearchListsTheOpenSupplyPrintsUnderItsNameAndLoadsTheItem) {
  openSupply({supplyItem("Viti", "20/12/2025", "Rossi Mario", "Saldato", "10,00"),
              supplyItem("Bulloni", "05/01/2026", "ROSSI SRL", "Saldato", "20,00"),
              supplyItem("Dadi", "06/01/2026", "Bianchi", "Saldato", "30,00")});
  whenShown<TfrmCercaFornitura>([&](TfrmCercaFornitura& w) {
    EXPECT_EQ(test::label(&w, "lblMemory")->text(), "forniture");
    type(test::edit(&w, "txtCliente"), QStringLiteral("rossi"));
    click(test::button(&w, "cmdTrova"));
    EXPECT_EQ(test::label(&w, "lblConta")->text(), "1");
    ASSERT_EQ(w.resultList().count(), 2);
    EXPECT_TRUE(lines(w.resultList())[0].startsWith("05/01/2026")) << "the order the search gives";
    click(test::button(&w, "cmdStampa"));
    EXPECT_EQ(fake.printed, QStringList{"Rossi"});
    clickLine(w, 0, true);
  });
  click(test::clickLabel(sheet.get(), "cmdRicerca"));
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(test::edit(sheet.get(), "txtProdotto")->text(), "Bulloni");
  EXPECT_EQ(test::label(sheet.get(), "lblPosizione")->text(), "2");
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 3);

  // The sheet's own list prints under the supply's name too.
  click(test::button(sheet.get(), "cmdStampa"));
  EXPECT_EQ(fake.last().text, "Si vuole stampare il presente elenco di fornitura?");
  EXPECT_EQ(fake.printed, QStringList({"Rossi", "Rossi"}));
}

TEST_F(ListWindows, PendingPaymentsListTheirTotalPrintItAndLeaveWhenPaid) {
  TfrmCercaIncompleti pending;
  nav.set(WindowId::PendingPayments, &pending);
  openSupply({supplyItem("Viti", "20/12/2025", "Rossi", "In sospeso", "10,10"),
              supplyItem("Dadi", "21/12/2025", "Rossi", "Saldato", "5,00"),
              supplyItem("Bulloni", "22/12/2025", "Rossi", "in sospeso", "20,25")});
  whenShown<TfrmCercaIncompleti>([&](TfrmCercaIncompleti& w) {
    ASSERT_EQ(w.resultList().count(), 2);
    EXPECT_TRUE(lines(w.resultList())[0].contains("Viti")) << "record order";
    EXPECT_EQ(test::label(&w, "repTotale")->text(), "30,35");
    click(test::button(&w, "cmdStampa"));
    EXPECT_EQ(fake.printed, QStringList{"Pagamenti in sospeso Rossi"});
    clickLine(w, 1, true);
  });
  click(test::clickLabel(sheet.get(), "cmdSospesi"));
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(pending.resultList().count(), 0) << "closing empties the list";
  EXPECT_EQ(test::edit(sheet.get(), "txtProdotto")->text(), "Bulloni");
  EXPECT_EQ(test::label(sheet.get(), "lblPosizione")->text(), "3");

  // Paid: the item leaves the list at the next showing.
  test::named<QComboBox>(sheet.get(), "txtPagamento")->setEditText(QStringLiteral("Saldato"));
  click(test::clickLabel(sheet.get(), "cmdSalva"));
  whenShown<TfrmCercaIncompleti>([&](TfrmCercaIncompleti& w) {
    EXPECT_EQ(w.resultList().count(), 1);
    EXPECT_EQ(test::label(&w, "repTotale")->text(), "10,10");
  });
  click(test::clickLabel(sheet.get(), "cmdSospesi"));
  EXPECT_EQ(shown.size(), 2);
}

// Every search and list window has the close and minimise boxes in its
// title bar, and no other.
TEST_F(ListWindows, SearchAndListWindowsHaveTheCloseAndMinimiseBoxes) {
  TfrmCercaDestinatari clients;
  TfrmCercaMateriale products;
  TfrmCercaSottoscorta underStock;
  TfrmImpMateriali import;
  TfrmCercaFornitura items;
  TfrmCercaIncompleti pending;
  const Qt::WindowFlags boxes = Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
  for (const QDialog* w : {static_cast<QDialog*>(&clients), static_cast<QDialog*>(&products),
                           static_cast<QDialog*>(&underStock), static_cast<QDialog*>(&import),
                           static_cast<QDialog*>(&items), static_cast<QDialog*>(&pending)})
    EXPECT_EQ(w->windowFlags() & (boxes | Qt::WindowMaximizeButtonHint), boxes) << w->objectName().toStdString();
}

// A double click where no line is selected (an empty list, or the blank
// space below the lines) closes every window that picks a line, without a
// word, and loads nothing.
TEST_F(ListWindows, DoubleClickWithNoLineSelectedClosesThePickingWindowsSilently) {
  appendRecords(folder.file("Anagrafica.pro"), clientLayout(), {clientRecord("CL1", "Rossi Mario", "Milano")});
  appendRecords(products(), productLayout(), {productRecord("ABC-1", "5", "5")});
  TfrmCercaIncompleti pending;
  nav.set(WindowId::PendingPayments, &pending);
  openSupply({supplyItem("Viti", "20/12/2025", "Rossi", "In sospeso", "10,10")});
  TfrmDestinatari clientCard;
  clientCard.show();
  nav.set(WindowId::ClientCard, &clientCard);
  TfrmMateriali productCard;
  productCard.show();
  nav.set(WindowId::ProductCard, &productCard);

  const auto belowTheLines = [](QWidget& window) {
    LineList* list = test::named<LineList>(&window, "lstRecords");
    QWidget* area = list->viewport();
    const QPoint at(20, area->height() - 4);
    ASSERT_FALSE(list->indexAt(at).isValid()) << "blank space";
    QTest::mouseClick(area, Qt::LeftButton, {}, at);
    QTest::mouseDClick(area, Qt::LeftButton, {}, at);
  };
  whenShown<TfrmCercaDestinatari>([&](TfrmCercaDestinatari& w) {
    type(test::edit(&w, "txtPersona"), QStringLiteral("nessuno"));
    click(test::button(&w, "cmdTrova"));
    ASSERT_EQ(w.resultList().count(), 0);
    belowTheLines(w);
  });
  click(test::clickLabel(&clientCard, "cmdRicerca"));
  EXPECT_FALSE(stillVisible) << "client search";
  whenShown<TfrmCercaMateriale>([&](TfrmCercaMateriale& w) {
    click(test::button(&w, "cmdTrova"));
    ASSERT_EQ(w.resultList().count(), 1);
    belowTheLines(w);
  });
  click(test::clickLabel(&productCard, "imgTrova"));
  EXPECT_FALSE(stillVisible) << "product search";
  whenShown<TfrmCercaSottoscorta>([&](TfrmCercaSottoscorta& w) {
    ASSERT_EQ(w.resultList().count(), 1);
    belowTheLines(w);
  });
  click(test::clickLabel(&productCard, "imgDoppioTurno"));
  EXPECT_FALSE(stillVisible) << "under-stock list";
  whenShown<TfrmCercaFornitura>([&](TfrmCercaFornitura& w) {
    click(test::button(&w, "cmdTrova"));
    ASSERT_EQ(w.resultList().count(), 1);
    belowTheLines(w);
  });
  click(test::clickLabel(sheet.get(), "cmdRicerca"));
  EXPECT_FALSE(stillVisible) << "supply search";
  whenShown<TfrmCercaIncompleti>([&](TfrmCercaIncompleti& w) {
    ASSERT_EQ(w.resultList().count(), 1);
    belowTheLines(w);
  });
  click(test::clickLabel(sheet.get(), "cmdSospesi"));
  EXPECT_FALSE(stillVisible) << "pending payments";

  EXPECT_EQ(shown.size(), 5);
  EXPECT_TRUE(fake.messages.isEmpty());
  EXPECT_TRUE(test::label(&clientCard, "lblPosizione")->text().isEmpty());
  EXPECT_TRUE(test::label(&productCard, "lblPosizione")->text().isEmpty());
  EXPECT_TRUE(test::label(sheet.get(), "lblPosizione")->text().isEmpty());
  EXPECT_TRUE(test::edit(sheet.get(), "txtProdotto")->text().isEmpty());
}

TEST_F(ListWindows, ProductImportLowersTheStockAndFillsTheSheet) {
  appendRecords(products(), productLayout(),
                {productRecord("P1", "10", "0"), productRecord("P2", "3", "0"), productRecord("P3", "", "0")});
  openSupply({});
  type(test::edit(sheet.get(), "txtQuantita"), QStringLiteral("2"));

  whenShown<TfrmImpMateriali>([&](TfrmImpMateriali& w) {
    EXPECT_EQ(w.resultList().count(), 2) << "a product without a stock is not offered";
    EXPECT_EQ(test::edit(&w, "txtQuant")->text(), "2");
    EXPECT_TRUE(test::button(&w, "cmdAnnulla")->isEnabled() && test::label(&w, "imgMano")->isVisible());
    EXPECT_EQ(test::named<QRadioButton>(&w, "optAggiorna")->palette().color(QPalette::WindowText), kMaroon);
    type(test::edit(&w, "txtQuant"), QStringLiteral("x"));
    EXPECT_EQ(fake.last().text, "Attenzione: carattere non valido.");
    EXPECT_EQ(fake.last().title, "Operazione annullata");
    EXPECT_TRUE(test::edit(&w, "txtQuant")->text().isEmpty());
    EXPECT_FALSE(test::button(&w, "cmdAnnulla")->isEnabled() || test::label(&w, "imgMano")->isVisible());
    type(test::edit(&w, "txtQuant"), QStringLiteral("4,0"));

    clickLine(w, rowOf(w.resultList(), "Cod. P1 "));
    EXPECT_EQ(test::edit(&w, "txtQuant")->text(), "4") << "formatted on leaving";
    EXPECT_EQ(test::edit(&w, "txtGiacenza")->text(), "10");
    EXPECT_EQ(test::label(&w, "lblPosizione")->text(), "1");
    click(test::button(&w, "cmdAnnulla"));
  });
  click(test::clickLabel(sheet.get(), "impProdotto"));
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(readAllRecords(products(), productLayout())[0][product::Giacenza], "6");
  EXPECT_EQ(test::edit(sheet.get(), "txtProdotto")->text(), "Trapano P1");
  EXPECT_EQ(test::edit(sheet.get(), "txtPrezzo")->text(), "12,50");
  EXPECT_EQ(test::edit(sheet.get(), "txtFornitore")->text(), "Ferri S.p.A.");
  EXPECT_EQ(test::edit(sheet.get(), "txtQuantita")->text(), "2") << "the sheet keeps its own quantity";
}

// A product card that shows the product an import lowers: back in front, an
// unedited card shows the stock as it now stands and saves it; an edited one
// is refused (saving would put the old stock back) without blaming another
// desk.
TEST_F(ListWindows, ProductCardFollowsAnImportOfItsProduct) {
  appendRecords(products(), productLayout(), {productRecord("P1", "10", "0")});
  openSupply({});
  TfrmMateriali card;
  card.show();
  nav.set(WindowId::ProductCard, &card);
  click(test::clickLabel(&card, "imgPrimo"));
  ASSERT_EQ(test::edit(&card, "txtGiacenza")->text(), "10");
  const auto importFour = [&] {
    whenShown<TfrmImpMateriali>([&](TfrmImpMateriali& w) {
      type(test::edit(&w, "txtQuant"), QStringLiteral("4"));
      clickLine(w, 0);
      click(test::button(&w, "cmdAnnulla"));
    });
    click(test::clickLabel(sheet.get(), "impProdotto"));
  };

  importFour();
  const auto backInFront = [&] {
    QApplication::setActiveWindow(sheet.get());
    QCoreApplication::processEvents();
    QApplication::setActiveWindow(&card);
    QCoreApplication::processEvents();
  };
  {  // another desk holds the archive: the card stays as it is, at once
    const auto wait = setLockWait(std::chrono::seconds(10));
    auto held = RecordFile::openExisting(products(), productLayout());
    const auto start = std::chrono::steady_clock::now();
    backInFront();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "it waited for the lock";
    EXPECT_EQ(test::edit(&card, "txtGiacenza")->text(), "10");
    setLockWait(wait);
  }
  backInFront();
  EXPECT_EQ(test::edit(&card, "txtGiacenza")->text(), "6");
  click(test::clickLabel(&card, "imgSalva"));
  EXPECT_EQ(readAllRecords(products(), productLayout())[0][product::Giacenza], "6");
  ASSERT_EQ(fake.last().text, cardtext::savedUpdate());

  test::edit(&card, "txtDescrizione")->setText(QStringLiteral("Trapano a percussione"));
  importFour();
  const std::string before = readText(products());
  QApplication::setActiveWindow(&card);
  QCoreApplication::processEvents();
  EXPECT_EQ(test::edit(&card, "txtGiacenza")->text(), "6") << "edits are never overwritten";
  EXPECT_EQ(test::edit(&card, "txtDescrizione")->text(), "Trapano a percussione");
  click(test::clickLabel(&card, "imgSalva"));
  EXPECT_EQ(fake.last().text, cardChangedHereMessage());
  EXPECT_EQ(readText(products()), before);
}

TEST_F(ListWindows, ProductImportRefusesMoreThanTheStockUnlessTheStockIsLeftAlone) {
  appendRecords(products(), productLayout(),
                {productRecord("P1", "10", "0"), productRecord("P2", "3", "0"), productRecord("P3", "molti", "0")});
  openSupply({});
  test::edit(sheet.get(), "txtPrezzo")->setText(QStringLiteral("1,00"));
  const std::string before = readText(products());

  whenShown<TfrmImpMateriali>([&](TfrmImpMateriali& w) {
    type(test::edit(&w, "txtQuant"), QStringLiteral("5"));
    clickLine(w, rowOf(w.resultList(), "Cod. P2 "));
    click(test::button(&w, "cmdAnnulla"));
  });
  click(test::clickLabel(sheet.get(), "impProdotto"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, "La quantità da decurtare non può essere superiore alla giacenza in magazzino.");
  EXPECT_EQ(fake.last().title, "Aggiornamento giacenza non applicabile");
  EXPECT_EQ(fake.last().icon, MsgIcon::Information);
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(readText(products()), before);
  EXPECT_EQ(test::edit(sheet.get(), "txtPrezzo")->text(), "1,00");
  EXPECT_TRUE(test::edit(sheet.get(), "txtProdotto")->text().isEmpty());

  // A stock that is not a number cannot be lowered: nothing changes, and
  // the sheet gets nothing.
  whenShown<TfrmImpMateriali>([&](TfrmImpMateriali& w) {
    clickLine(w, rowOf(w.resultList(), "Cod. P3 "));
    click(test::button(&w, "cmdAnnulla"));
  });
  click(test::clickLabel(sheet.get(), "impProdotto"));
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(readText(products()), before);
  EXPECT_TRUE(test::edit(sheet.get(), "txtProdotto")->text().isEmpty());

  whenShown<TfrmImpMateriali>([&](TfrmImpMateriali& w) {
    click(test::named<QRadioButton>(&w, "optNonAggiornare"));
    EXPECT_EQ(test::named<QRadioButton>(&w, "optNonAggiornare")->palette().color(QPalette::WindowText), kMaroon);
    EXPECT_EQ(test::named<QRadioButton>(&w, "optAggiorna")->palette().color(QPalette::WindowText), QColor(Qt::black));
    type(test::edit(&w, "txtQuant"), QStringLiteral("5"));
    clickLine(w, rowOf(w.resultList(), "Cod. P2 "));
    click(test::button(&w, "cmdAnnulla"));
  });
  click(test::clickLabel(sheet.get(), "impProdotto"));
  EXPECT_EQ(fake.messages.size(), 1) << "no message";
  EXPECT_EQ(readText(products()), before) << "no write";
  EXPECT_EQ(test::edit(sheet.get(), "txtProdotto")->text(), "Trapano P2");
  EXPECT_EQ(test::edit(sheet.get(), "txtPrezzo")->text(), "12,50");
}

}  // namespace
}  // namespace zel
