// The six list windows driven through their openers, as a user drives them:
// criteria, Trova, the list, find in list, print (through the services
// fake) and the pick into the card or the supply sheet. The rules behind
// the lists are tested in the core; here it is the wiring.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "clients/cercadestinatari.h"
#include "clients/destinatari.h"
#include "fakeservices.h"
#include "named.h"
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

namespace zel {
namespace {

namespace fs = std::filesystem;

void append(const fs::path& file, const Layout& layout, const std::vector<Record>& records) {
  RecordFile f = RecordFile::openForUpdate(file, layout);
  for (const Record& r : records) f.append(r);
  f.close();
}

std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Record clientRecord(const Text& codice, const Text& persona, const Text& citta) {
  Record r = emptyRecord(clientLayout());
  r[client::Codice] = codice;
  r[client::Persona] = persona;
  r[client::Citta] = citta;
  return r;
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
  Record r = emptyRecord(supplyLayout());
  r[supply::Prodotto] = prodotto;
  r[supply::Data] = data;
  r[supply::Cliente] = cliente;
  r[supply::Quantita] = "1";
  r[supply::Prezzo] = importo;
  r[supply::Importo] = importo;
  r[supply::Pagamento] = pagamento;
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
    append(supply(), supplyLayout(), items);
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
  append(folder.file("Anagrafica.pro"), clientLayout(),
         {clientRecord("CL1", "Rossi Mario", "20121 Milano (MI)"), clientRecord("CL2", "Rossi Anna", "00184 Roma (RM)"),
          clientRecord("CL3", "Bianchi Rosa", "20121 Milano (MI)")});
  TfrmDestinatari card;
  card.show();
  nav.set(WindowId::ClientCard, &card);

  whenShown<TfrmCercaDestinatari>([&](TfrmCercaDestinatari& w) {
    EXPECT_EQ(test::named<QLabel>(&w, "lblMemory")->text(), "anagrafica");
    EXPECT_EQ(QApplication::focusWidget(), test::named<QLineEdit>(&w, "txtCodice"));
    type(test::named<QLineEdit>(&w, "txtPersona"), QStringLiteral("ross"));
    enter(test::named<QLineEdit>(&w, "txtPersona"));
    EXPECT_EQ(QApplication::focusWidget(), test::named<QLineEdit>(&w, "txtUfficio"));
    type(test::named<QLineEdit>(&w, "txtCitta"), QStringLiteral("MI"));
    click(test::named<QPushButton>(&w, "cmdTrova"));
    ASSERT_EQ(w.resultList().count(), 1);
    EXPECT_TRUE(lines(w.resultList())[0].contains("Rossi Mario"));
    EXPECT_TRUE(test::named<QGroupBox>(&w, "grpElenco")->isVisible() &&
                !test::named<QGroupBox>(&w, "grpCriteri")->isVisible());
    EXPECT_TRUE(!test::named<QPushButton>(&w, "cmdTrova")->isEnabled() &&
                test::named<QPushButton>(&w, "cmdIndietro")->isEnabled() &&
                test::named<QPushButton>(&w, "cmdStampa")->isEnabled());

    // Back to the criteria, which keep their texts; one criterion fewer.
    click(test::named<QPushButton>(&w, "cmdIndietro"));
    EXPECT_TRUE(test::named<QGroupBox>(&w, "grpCriteri")->isVisible() &&
                test::named<QLineEdit>(&w, "txtPersona")->text() == "ross");
    test::named<QLineEdit>(&w, "txtCitta")->clear();
    click(test::named<QPushButton>(&w, "cmdTrova"));
    ASSERT_EQ(w.resultList().count(), 2);

    // Find in list: Enter in the box, then the button with the same text.
    type(test::named<QLineEdit>(&w, "txtTrova"), QStringLiteral("ROSSI"));
    enter(test::named<QLineEdit>(&w, "txtTrova"));
    EXPECT_EQ(w.resultList().selectedRow(), 0);
    click(test::named<QPushButton>(&w, "cmdTrova02"));
    EXPECT_EQ(w.resultList().selectedRow(), 1);
    click(test::named<QPushButton>(&w, "cmdTrova02"));
    EXPECT_EQ(w.resultList().selectedRow(), 0) << "wraps round";

    click(test::named<QPushButton>(&w, "cmdStampa"));
    EXPECT_EQ(fake.printed, QStringList{"Anagrafica clienti"});
    EXPECT_EQ(fake.last().text, "Si vuole stampare il presente elenco?");

    clickLine(w, rowOf(w.resultList(), "Rossi Anna"), true);
  });
  click(test::named<ClickLabel>(&card, "cmdRicerca"));
  ASSERT_EQ(shown.size(), 1);
  EXPECT_FALSE(stillVisible) << "a pick closes the window";
  EXPECT_TRUE(shown[0].isNull()) << "the card destroys it";
  EXPECT_EQ(test::named<QLineEdit>(&card, "txtPersona")->text(), "Rossi Anna");
  EXPECT_EQ(test::named<QLineEdit>(&card, "txtCodice")->text(), "CL2");
  EXPECT_EQ(test::named<QLabel>(&card, "lblPosizione")->text(), "2");
}

// Searches and lists run as long work: a stopped search stays on its
// criteria, a stopped list closes its window, neither says a word.
TEST_F(ListWindows, StoppedSearchesAndListsShowNothingAndSayNothing) {
  append(folder.file("Anagrafica.pro"), clientLayout(), {clientRecord("CL1", "Rossi Mario", "Milano")});
  append(products(), productLayout(), {productRecord("ABC-1", "5", "5")});
  TfrmDestinatari card;
  card.show();
  nav.set(WindowId::ClientCard, &card);
  TfrmMateriali productCard;
  nav.set(WindowId::ProductCard, &productCard);

  whenShown<TfrmCercaDestinatari>([&](TfrmCercaDestinatari& w) {
    fake.cancelLongWork = true;
    click(test::named<QPushButton>(&w, "cmdTrova"));
    EXPECT_TRUE(test::named<QGroupBox>(&w, "grpCriteri")->isVisible() &&
                test::named<QPushButton>(&w, "cmdTrova")->isEnabled());
    EXPECT_EQ(w.resultList().count(), 0);
    fake.cancelLongWork = false;
    click(test::named<QPushButton>(&w, "cmdTrova"));
    EXPECT_EQ(w.resultList().count(), 1);
  });
  click(test::named<ClickLabel>(&card, "cmdRicerca"));
  EXPECT_EQ(fake.longWork, QStringList({"Ricerca in corso...", "Ricerca in corso..."}));

  fake.cancelLongWork = true;
  whenShown<TfrmCercaSottoscorta>([&](TfrmCercaSottoscorta& w) {
    EXPECT_EQ(w.resultList().count(), 0);
    QCoreApplication::processEvents();  // the window closes itself
  });
  click(test::named<ClickLabel>(&productCard, "imgDoppioTurno"));
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(fake.longWork.last(), "Preparazione dell'elenco in corso...");
  EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(ListWindows, ClientSearchFromTheSheetFillsOnlyTheClient) {
  openSupply({});
  append(folder.file("Anagrafica.pro"), clientLayout(),
         {clientRecord("CL1", "Rossi Mario", "Milano"), clientRecord("CL2", "Bianchi Rosa", "Roma")});
  test::named<QLineEdit>(sheet.get(), "txtProdotto")->setText(QStringLiteral("Trapano"));
  whenShown<TfrmCercaDestinatari>([&](TfrmCercaDestinatari& w) {
    EXPECT_EQ(test::named<QLabel>(&w, "lblMemory")->text(), "forniture");
    type(test::named<QLineEdit>(&w, "txtNote"), QStringLiteral("nessuno"));
    click(test::named<QPushButton>(&w, "cmdTrova"));
    EXPECT_TRUE(test::named<QGroupBox>(&w, "grpElenco")->isVisible()) << "an empty result still shows the list page";
    click(test::named<QPushButton>(&w, "cmdTrova02"));
    EXPECT_EQ(fake.texts(), QStringList{"Ricerca non applicabile: la lista non contiene nessuna voce."});
    click(test::named<QPushButton>(&w, "cmdIndietro"));
    test::named<QLineEdit>(&w, "txtNote")->clear();
    click(test::named<QPushButton>(&w, "cmdTrova"));
    clickLine(w, rowOf(w.resultList(), "Bianchi"), true);
  });
  click(test::named<ClickLabel>(sheet.get(), "impCliente"));
  EXPECT_EQ(test::named<QLineEdit>(sheet.get(), "txtCliente")->text(), "Bianchi Rosa");
  EXPECT_EQ(test::named<QLineEdit>(sheet.get(), "txtProdotto")->text(), "Trapano");
  EXPECT_TRUE(test::named<QLabel>(sheet.get(), "lblPosizione")->text().isEmpty());
}

TEST_F(ListWindows, ProductSearchAndUnderStockListLoadTheProductCard) {
  append(products(), productLayout(),
         {productRecord("ABC-1", "5", "5"), productRecord("ABC-2", "6", "5"), productRecord("XYZ-3", "0", "0")});
  TfrmMateriali card;
  card.show();
  nav.set(WindowId::ProductCard, &card);

  whenShown<TfrmCercaMateriale>([&](TfrmCercaMateriale& w) {
    EXPECT_EQ(test::named<QLabel>(&w, "lblMemory")->text(), "materiali");
    type(test::named<QLineEdit>(&w, "txtCognome"), QStringLiteral("abc"));
    type(test::named<QLineEdit>(&w, "txtNome"), QStringLiteral(" "));
    click(test::named<QPushButton>(&w, "cmdTrova"));
    EXPECT_EQ(test::named<QLabel>(&w, "lblConta")->text(), "1");
    ASSERT_EQ(w.resultList().count(), 2);
    click(test::named<QPushButton>(&w, "cmdStampa"));
    EXPECT_EQ(fake.printed, QStringList{"Elenco prodotti e servizi"});
    clickLine(w, rowOf(w.resultList(), "ABC-2"), true);
  });
  click(test::named<ClickLabel>(&card, "imgTrova"));
  EXPECT_EQ(test::named<QLineEdit>(&card, "txtCodice")->text(), "ABC-2");
  EXPECT_EQ(test::named<QLabel>(&card, "lblPosizione")->text(), "2");

  whenShown<TfrmCercaSottoscorta>([&](TfrmCercaSottoscorta& w) {
    ASSERT_EQ(w.resultList().count(), 2) << "5/5 and 0/0 are under stock, 6/5 is not";
    EXPECT_GE(rowOf(w.resultList(), "ABC-1"), 0);
    EXPECT_EQ(rowOf(w.resultList(), "ABC-2"), -1);
    type(test::named<QLineEdit>(&w, "txtTrova"), QStringLiteral("xyz"));
    click(test::named<QPushButton>(&w, "cmdTrova02"));
    EXPECT_EQ(w.resultList().selectedRow(), rowOf(w.resultList(), "XYZ-3"));
    click(test::named<QPushButton>(&w, "cmdStampa"));
    EXPECT_EQ(fake.printed.last(), "Materiali in esaurimento");
    clickLine(w, rowOf(w.resultList(), "XYZ-3"), true);
  });
  click(test::named<ClickLabel>(&card, "imgDoppioTurno"));
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(test::named<QLineEdit>(&card, "txtCodice")->text(), "XYZ-3");
  EXPECT_EQ(test::named<QLabel>(&card, "lblPosizione")->text(), "3");
}

TEST_F(ListWindows, SupplySearchListsTheOpenSupplyPrintsUnderItsNameAndLoadsTheItem) {
  openSupply({supplyItem("Viti", "20/12/2025", "Rossi Mario", "Saldato", "10,00"),
              supplyItem("Bulloni", "05/01/2026", "ROSSI SRL", "Saldato", "20,00"),
              supplyItem("Dadi", "06/01/2026", "Bianchi", "Saldato", "30,00")});
  whenShown<TfrmCercaFornitura>([&](TfrmCercaFornitura& w) {
    EXPECT_EQ(test::named<QLabel>(&w, "lblMemory")->text(), "forniture");
    type(test::named<QLineEdit>(&w, "txtCliente"), QStringLiteral("rossi"));
    click(test::named<QPushButton>(&w, "cmdTrova"));
    EXPECT_EQ(test::named<QLabel>(&w, "lblConta")->text(), "1");
    ASSERT_EQ(w.resultList().count(), 2);
    EXPECT_TRUE(lines(w.resultList())[0].startsWith("05/01/2026")) << "the order the search gives";
    click(test::named<QPushButton>(&w, "cmdStampa"));
    EXPECT_EQ(fake.printed, QStringList{"Rossi"});
    clickLine(w, 0, true);
  });
  click(test::named<ClickLabel>(sheet.get(), "cmdRicerca"));
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(test::named<QLineEdit>(sheet.get(), "txtProdotto")->text(), "Bulloni");
  EXPECT_EQ(test::named<QLabel>(sheet.get(), "lblPosizione")->text(), "2");
  EXPECT_EQ(test::named<LineList>(sheet.get(), "lstStudenti")->count(), 3);

  // The sheet's own list prints under the supply's name too.
  click(test::named<QPushButton>(sheet.get(), "cmdStampa"));
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
    EXPECT_EQ(test::named<QLabel>(&w, "repTotale")->text(), "30,35");
    click(test::named<QPushButton>(&w, "cmdStampa"));
    EXPECT_EQ(fake.printed, QStringList{"Pagamenti in sospeso Rossi"});
    clickLine(w, 1, true);
  });
  click(test::named<ClickLabel>(sheet.get(), "cmdSospesi"));
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(pending.resultList().count(), 0) << "closing empties the list";
  EXPECT_EQ(test::named<QLineEdit>(sheet.get(), "txtProdotto")->text(), "Bulloni");
  EXPECT_EQ(test::named<QLabel>(sheet.get(), "lblPosizione")->text(), "3");

  // Paid: the item leaves the list at the next showing.
  test::named<QComboBox>(sheet.get(), "txtPagamento")->setEditText(QStringLiteral("Saldato"));
  click(test::named<ClickLabel>(sheet.get(), "cmdSalva"));
  whenShown<TfrmCercaIncompleti>([&](TfrmCercaIncompleti& w) {
    EXPECT_EQ(w.resultList().count(), 1);
    EXPECT_EQ(test::named<QLabel>(&w, "repTotale")->text(), "10,10");
  });
  click(test::named<ClickLabel>(sheet.get(), "cmdSospesi"));
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
  append(folder.file("Anagrafica.pro"), clientLayout(), {clientRecord("CL1", "Rossi Mario", "Milano")});
  append(products(), productLayout(), {productRecord("ABC-1", "5", "5")});
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
    type(test::named<QLineEdit>(&w, "txtPersona"), QStringLiteral("nessuno"));
    click(test::named<QPushButton>(&w, "cmdTrova"));
    ASSERT_EQ(w.resultList().count(), 0);
    belowTheLines(w);
  });
  click(test::named<ClickLabel>(&clientCard, "cmdRicerca"));
  EXPECT_FALSE(stillVisible) << "client search";
  whenShown<TfrmCercaMateriale>([&](TfrmCercaMateriale& w) {
    click(test::named<QPushButton>(&w, "cmdTrova"));
    ASSERT_EQ(w.resultList().count(), 1);
    belowTheLines(w);
  });
  click(test::named<ClickLabel>(&productCard, "imgTrova"));
  EXPECT_FALSE(stillVisible) << "product search";
  whenShown<TfrmCercaSottoscorta>([&](TfrmCercaSottoscorta& w) {
    ASSERT_EQ(w.resultList().count(), 1);
    belowTheLines(w);
  });
  click(test::named<ClickLabel>(&productCard, "imgDoppioTurno"));
  EXPECT_FALSE(stillVisible) << "under-stock list";
  whenShown<TfrmCercaFornitura>([&](TfrmCercaFornitura& w) {
    click(test::named<QPushButton>(&w, "cmdTrova"));
    ASSERT_EQ(w.resultList().count(), 1);
    belowTheLines(w);
  });
  click(test::named<ClickLabel>(sheet.get(), "cmdRicerca"));
  EXPECT_FALSE(stillVisible) << "supply search";
  whenShown<TfrmCercaIncompleti>([&](TfrmCercaIncompleti& w) {
    ASSERT_EQ(w.resultList().count(), 1);
    belowTheLines(w);
  });
  click(test::named<ClickLabel>(sheet.get(), "cmdSospesi"));
  EXPECT_FALSE(stillVisible) << "pending payments";

  EXPECT_EQ(shown.size(), 5);
  EXPECT_TRUE(fake.messages.isEmpty());
  EXPECT_TRUE(test::named<QLabel>(&clientCard, "lblPosizione")->text().isEmpty());
  EXPECT_TRUE(test::named<QLabel>(&productCard, "lblPosizione")->text().isEmpty());
  EXPECT_TRUE(test::named<QLabel>(sheet.get(), "lblPosizione")->text().isEmpty());
  EXPECT_TRUE(test::named<QLineEdit>(sheet.get(), "txtProdotto")->text().isEmpty());
}

TEST_F(ListWindows, ProductImportLowersTheStockAndFillsTheSheet) {
  append(products(), productLayout(),
         {productRecord("P1", "10", "0"), productRecord("P2", "3", "0"), productRecord("P3", "", "0")});
  openSupply({});
  type(test::named<QLineEdit>(sheet.get(), "txtQuantita"), QStringLiteral("2"));

  whenShown<TfrmImpMateriali>([&](TfrmImpMateriali& w) {
    EXPECT_EQ(w.resultList().count(), 2) << "a product without a stock is not offered";
    EXPECT_EQ(test::named<QLineEdit>(&w, "txtQuant")->text(), "2");
    EXPECT_TRUE(test::named<QPushButton>(&w, "cmdAnnulla")->isEnabled() &&
                test::named<QLabel>(&w, "imgMano")->isVisible());
    EXPECT_EQ(test::named<QRadioButton>(&w, "optAggiorna")->palette().color(QPalette::WindowText), kMaroon);
    type(test::named<QLineEdit>(&w, "txtQuant"), QStringLiteral("x"));
    EXPECT_EQ(fake.last().text, "Attenzione: carattere non valido.");
    EXPECT_EQ(fake.last().title, "Operazione annullata");
    EXPECT_TRUE(test::named<QLineEdit>(&w, "txtQuant")->text().isEmpty());
    EXPECT_FALSE(test::named<QPushButton>(&w, "cmdAnnulla")->isEnabled() ||
                 test::named<QLabel>(&w, "imgMano")->isVisible());
    type(test::named<QLineEdit>(&w, "txtQuant"), QStringLiteral("4,0"));

    clickLine(w, rowOf(w.resultList(), "Cod. P1 "));
    EXPECT_EQ(test::named<QLineEdit>(&w, "txtQuant")->text(), "4") << "formatted on leaving";
    EXPECT_EQ(test::named<QLineEdit>(&w, "txtGiacenza")->text(), "10");
    EXPECT_EQ(test::named<QLabel>(&w, "lblPosizione")->text(), "1");
    click(test::named<QPushButton>(&w, "cmdAnnulla"));
  });
  click(test::named<ClickLabel>(sheet.get(), "impProdotto"));
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(readAllRecords(products(), productLayout())[0][product::Giacenza], "6");
  EXPECT_EQ(test::named<QLineEdit>(sheet.get(), "txtProdotto")->text(), "Trapano P1");
  EXPECT_EQ(test::named<QLineEdit>(sheet.get(), "txtPrezzo")->text(), "12,50");
  EXPECT_EQ(test::named<QLineEdit>(sheet.get(), "txtFornitore")->text(), "Ferri S.p.A.");
  EXPECT_EQ(test::named<QLineEdit>(sheet.get(), "txtQuantita")->text(), "2") << "the sheet keeps its own quantity";
}

// A product card that shows the product an import lowers: back in front, an
// unedited card shows the stock as it now stands and saves it; an edited one
// is refused (saving would put the old stock back) without blaming another
// desk.
TEST_F(ListWindows, ProductCardFollowsAnImportOfItsProduct) {
  append(products(), productLayout(), {productRecord("P1", "10", "0")});
  openSupply({});
  TfrmMateriali card;
  card.show();
  nav.set(WindowId::ProductCard, &card);
  click(test::named<ClickLabel>(&card, "imgPrimo"));
  ASSERT_EQ(test::named<QLineEdit>(&card, "txtGiacenza")->text(), "10");
  const auto importFour = [&] {
    whenShown<TfrmImpMateriali>([&](TfrmImpMateriali& w) {
      type(test::named<QLineEdit>(&w, "txtQuant"), QStringLiteral("4"));
      clickLine(w, 0);
      click(test::named<QPushButton>(&w, "cmdAnnulla"));
    });
    click(test::named<ClickLabel>(sheet.get(), "impProdotto"));
  };

  importFour();
  QApplication::setActiveWindow(&card);
  QCoreApplication::processEvents();
  EXPECT_EQ(test::named<QLineEdit>(&card, "txtGiacenza")->text(), "6");
  click(test::named<ClickLabel>(&card, "imgSalva"));
  EXPECT_EQ(readAllRecords(products(), productLayout())[0][product::Giacenza], "6");
  ASSERT_EQ(fake.last().text, cardtext::savedUpdate());

  test::named<QLineEdit>(&card, "txtDescrizione")->setText(QStringLiteral("Trapano a percussione"));
  importFour();
  const std::string before = bytesOf(products());
  QApplication::setActiveWindow(&card);
  QCoreApplication::processEvents();
  EXPECT_EQ(test::named<QLineEdit>(&card, "txtGiacenza")->text(), "6") << "edits are never overwritten";
  EXPECT_EQ(test::named<QLineEdit>(&card, "txtDescrizione")->text(), "Trapano a percussione");
  click(test::named<ClickLabel>(&card, "imgSalva"));
  EXPECT_EQ(fake.last().text, cardChangedHereMessage());
  EXPECT_EQ(bytesOf(products()), before);
}

TEST_F(ListWindows, ProductImportRefusesMoreThanTheStockUnlessTheStockIsLeftAlone) {
  append(products(), productLayout(),
         {productRecord("P1", "10", "0"), productRecord("P2", "3", "0"), productRecord("P3", "molti", "0")});
  openSupply({});
  test::named<QLineEdit>(sheet.get(), "txtPrezzo")->setText(QStringLiteral("1,00"));
  const std::string before = bytesOf(products());

  whenShown<TfrmImpMateriali>([&](TfrmImpMateriali& w) {
    type(test::named<QLineEdit>(&w, "txtQuant"), QStringLiteral("5"));
    clickLine(w, rowOf(w.resultList(), "Cod. P2 "));
    click(test::named<QPushButton>(&w, "cmdAnnulla"));
  });
  click(test::named<ClickLabel>(sheet.get(), "impProdotto"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, "La quantità da decurtare non può essere superiore alla giacenza in magazzino.");
  EXPECT_EQ(fake.last().title, "Aggiornamento giacenza non applicabile");
  EXPECT_EQ(fake.last().icon, MsgIcon::Information);
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(bytesOf(products()), before);
  EXPECT_EQ(test::named<QLineEdit>(sheet.get(), "txtPrezzo")->text(), "1,00");
  EXPECT_TRUE(test::named<QLineEdit>(sheet.get(), "txtProdotto")->text().isEmpty());

  // A stock that is not a number cannot be lowered: nothing changes, and
  // the sheet gets nothing.
  whenShown<TfrmImpMateriali>([&](TfrmImpMateriali& w) {
    clickLine(w, rowOf(w.resultList(), "Cod. P3 "));
    click(test::named<QPushButton>(&w, "cmdAnnulla"));
  });
  click(test::named<ClickLabel>(sheet.get(), "impProdotto"));
  EXPECT_FALSE(stillVisible);
  EXPECT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(bytesOf(products()), before);
  EXPECT_TRUE(test::named<QLineEdit>(sheet.get(), "txtProdotto")->text().isEmpty());

  whenShown<TfrmImpMateriali>([&](TfrmImpMateriali& w) {
    click(test::named<QRadioButton>(&w, "optNonAggiornare"));
    EXPECT_EQ(test::named<QRadioButton>(&w, "optNonAggiornare")->palette().color(QPalette::WindowText), kMaroon);
    EXPECT_EQ(test::named<QRadioButton>(&w, "optAggiorna")->palette().color(QPalette::WindowText), QColor(Qt::black));
    type(test::named<QLineEdit>(&w, "txtQuant"), QStringLiteral("5"));
    clickLine(w, rowOf(w.resultList(), "Cod. P2 "));
    click(test::named<QPushButton>(&w, "cmdAnnulla"));
  });
  click(test::named<ClickLabel>(sheet.get(), "impProdotto"));
  EXPECT_EQ(fake.messages.size(), 1) << "no message";
  EXPECT_EQ(bytesOf(products()), before) << "no write";
  EXPECT_EQ(test::named<QLineEdit>(sheet.get(), "txtProdotto")->text(), "Trapano P2");
  EXPECT_EQ(test::named<QLineEdit>(sheet.get(), "txtPrezzo")->text(), "12,50");
}

}  // namespace
}  // namespace zel
