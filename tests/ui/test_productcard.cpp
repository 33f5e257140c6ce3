// The product card driven through its real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QEnterEvent>
#include <QPointer>
#include <QTest>
#include <QUrlQuery>
#include <filesystem>
#include <memory>

#include "attach/allegatimat.h"
#include "attach/cartellamat.h"
#include "products/cercamateriale.h"
#include "products/cercasottoscorta.h"
#include "products/materiali.h"
#include "store/archives.h"
#include "store/productrules.h"
#include "store/recordfile.h"
#include "support/files.h"
#include "support/records.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"
#include "ui/cardbinding.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

const QString kTitleCancelled = QString::fromUtf8("Operazione annullata");
const QString kBadCharacter = QString::fromUtf8("Attenzione: carattere non valido.");

class ProductCardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    card = std::make_unique<TfrmMateriali>();
    card->show();
    QApplication::setActiveWindow(card.get());
    QCoreApplication::processEvents();
  }
  void TearDown() override { card.reset(); }

  fs::path archive() const { return folder.file(kProductArchive); }

  void addProduct(const char* code, const char* price = "1,00", const char* stock = "5") {
    test::appendRecords(archive(), productLayout(),
                        {test::recordOf(productLayout(), {{product::Codice, code},
                                                          {product::Marca, "Marca di " + std::string(code)},
                                                          {product::Prezzo, price},
                                                          {product::Giacenza, stock},
                                                          {product::Sottoscorta, "2"},
                                                          {product::File01, "/tmp/foto.jpg"}})});
  }
  Record stored(size_t k) const { return readRecord(archive(), productLayout(), k); }

  // Empties a box through the keyboard and types into it; the focus stays.
  void retype(QLineEdit* box, const QString& keys) {
    box->setFocus();
    QCoreApplication::processEvents();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, keys);
  }
  void click(ClickLabel* command) { QTest::mouseClick(command, Qt::LeftButton); }

  test::TempProgramFolder folder;
  test::FakeServices fake;
  std::unique_ptr<TfrmMateriali> card;
};

TEST_F(ProductCardTest, OpensAsANewCardWithDefaults) {
  EXPECT_EQ(card->windowTitle(), QString::fromUtf8(" Zelvano © - Prodotti e servizi"));
  EXPECT_EQ(card->minimumSize(), QSize(1038, 742));
  EXPECT_EQ(test::edit(card.get(), "txtPrezzo")->text(), "0,00");
  EXPECT_EQ(test::edit(card.get(), "txtGiacenza")->text(), "0");
  EXPECT_EQ(test::edit(card.get(), "txtSottoscorta")->text(), "0");
  EXPECT_TRUE(test::label(card.get(), "lblPosizione")->text().isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), test::edit(card.get(), "txtCodice"));
  for (QLabel* l : card->attachmentFields().all())
    EXPECT_FALSE(l->isVisible()) << l->objectName().toStdString();
  EXPECT_EQ(test::edit(card.get(), "txtCodice")->maxLength(), 250);
  EXPECT_EQ(test::edit(card.get(), "txtData")->maxLength(), 50);
  EXPECT_EQ(test::edit(card.get(), "txtPrezzo")->maxLength(), 15);
  EXPECT_EQ(fieldColour(test::edit(card.get(), "txtCodice")), kFocusYellow);
  EXPECT_EQ(fieldColour(test::edit(card.get(), "txtMarca")), kMoneyGreen);

  // A second showing starts a new card again, whatever the first left.
  test::edit(card.get(), "txtCodice")->setText("X");
  test::edit(card.get(), "txtGiacenza")->setText("12");
  test::label(card.get(), "lblPosizione")->setText("4");
  card->attachmentFields().file[1]->setText("/tmp/a");
  card->hide();
  card->show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(test::edit(card.get(), "txtCodice")->text().isEmpty());
  EXPECT_EQ(test::edit(card.get(), "txtGiacenza")->text(), "0");
  EXPECT_TRUE(test::label(card.get(), "lblPosizione")->text().isEmpty());
  EXPECT_TRUE(card->attachmentFields().file[1]->text().isEmpty());
}

TEST_F(ProductCardTest, EnterCyclesThroughTheBoxesAndColoursFollowTheFocus) {
  const QList<QLineEdit*> cycle = card->editBoxes();
  ASSERT_EQ(cycle.size(), 17);
  for (int i = 0; i < cycle.size(); ++i) {
    ASSERT_EQ(QApplication::focusWidget(), cycle[i]) << i;
    QTest::keyClick(cycle[i], Qt::Key_Return);
    EXPECT_EQ(fieldColour(cycle[i]), kMoneyGreen) << i;
  }
  EXPECT_EQ(QApplication::focusWidget(), test::edit(card.get(), "txtCodice")) << "from the notes back to the code";
  EXPECT_EQ(fieldColour(test::edit(card.get(), "txtCodice")), kFocusYellow);
  EXPECT_TRUE(fake.messages.isEmpty()) << "Enter is not a refused key in the number boxes";
}

TEST_F(ProductCardTest, NumberBoxesAreFormattedWhenLeft) {
  const struct {
    QLineEdit* box;
    const char* typed;
    const char* shown;
  } cases[] = {
      {test::edit(card.get(), "txtPrezzo"), "12", "12,00"},
      {test::edit(card.get(), "txtPrezzo"), "12,5", "12,50"},
      {test::edit(card.get(), "txtPrezzo"), "12,345", "12,345"},
      {test::edit(card.get(), "txtPrezzo"), "12,34567", "12,3457"},
      {test::edit(card.get(), "txtPrezzo"), "0,5", "0,50"},
      {test::edit(card.get(), "txtPrezzo"), ",", "0,00"},
      {test::edit(card.get(), "txtPrezzo"), "", "0,00"},
      {test::edit(card.get(), "txtGiacenza"), "7,5", "8"},
      {test::edit(card.get(), "txtGiacenza"), "0,4", "0"},
      {test::edit(card.get(), "txtGiacenza"), "", "0"},
      {test::edit(card.get(), "txtSottoscorta"), "2,5", "3"},
      {test::edit(card.get(), "txtSottoscorta"), ",", "0"},
  };
  for (const auto& c : cases) {
    retype(c.box, QString::fromLatin1(c.typed));
    ASSERT_EQ(c.box->text(), QString::fromLatin1(c.typed)) << "typing is not formatted";
    test::edit(card.get(), "txtCodice")->setFocus();  // leaving the box
    QCoreApplication::processEvents();
    EXPECT_EQ(c.box->text(), QString::fromLatin1(c.shown)) << c.box->objectName().toStdString() << " "
                                                           << c.typed;
  }
  // Leaving by Enter formats too, and the focus goes on along the cycle.
  retype(test::edit(card.get(), "txtGiacenza"), "7,5");
  QTest::keyClick(test::edit(card.get(), "txtGiacenza"), Qt::Key_Return);
  EXPECT_EQ(test::edit(card.get(), "txtGiacenza")->text(), "8");
  EXPECT_EQ(QApplication::focusWidget(), test::edit(card.get(), "txtSottoscorta"));
  EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(ProductCardTest, ValueAboveThirtyMillionResetsTheBox) {
  const struct {
    QLineEdit* box;
    const char* message;
    const char* reset;
  } cases[] = {
      {test::edit(card.get(), "txtPrezzo"), "Attenzione: valore non valido.", "0,00"},
      {test::edit(card.get(), "txtGiacenza"),
       "Attenzione: il valore della giacenza massima non può superare 30 milioni.", "0"},
      {test::edit(card.get(), "txtSottoscorta"), "Attenzione: il valore massimo non può superare 30 milioni.", "0"},
  };
  for (const auto& c : cases) {
    fake.clear();
    retype(c.box, "99999999");
    ASSERT_TRUE(fake.messages.isEmpty()) << "eight nines are typed without a word";
    QTest::keyClick(c.box, Qt::Key_9);
    ASSERT_EQ(fake.messages.size(), 1);
    EXPECT_EQ(fake.last().text, QString::fromUtf8(c.message));
    EXPECT_EQ(fake.last().title, kTitleCancelled);
    EXPECT_EQ(fake.last().icon, MsgIcon::None);
    EXPECT_EQ(fake.last().buttons, MsgButtons::Ok);
    EXPECT_EQ(c.box->text(), QString::fromLatin1(c.reset));
  }
  // Backspace is a key like the others for the value check.
  fake.clear();
  test::edit(card.get(), "txtPrezzo")->setText("30000001");
  test::edit(card.get(), "txtPrezzo")->end(false);
  QTest::keyClick(test::edit(card.get(), "txtPrezzo"), Qt::Key_Backspace);
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(test::edit(card.get(), "txtPrezzo")->text(), "0,00");
  // The limit itself still takes keys.
  fake.clear();
  retype(test::edit(card.get(), "txtPrezzo"), "30000000");
  QTest::keyClick(test::edit(card.get(), "txtPrezzo"), Qt::Key_Comma);
  EXPECT_TRUE(fake.messages.isEmpty());
  EXPECT_EQ(test::edit(card.get(), "txtPrezzo")->text(), "30000000,");
}

TEST_F(ProductCardTest, OnlyDigitsAndOneCommaAreTyped) {
  for (QLineEdit* box : {test::edit(card.get(), "txtPrezzo"), test::edit(card.get(), "txtGiacenza"),
                         test::edit(card.get(), "txtSottoscorta")}) {
    fake.clear();
    retype(box, "12,5");
    QTest::keyClicks(box, ",.a-");
    EXPECT_EQ(box->text(), "12,5") << box->objectName().toStdString();
    ASSERT_EQ(fake.messages.size(), 4);
    for (const auto& m : fake.messages) {
      EXPECT_EQ(m.text, kBadCharacter);
      EXPECT_EQ(m.title, kTitleCancelled);
      EXPECT_EQ(m.icon, MsgIcon::None);
    }
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "12,");
  }
  // The other boxes take any text.
  fake.clear();
  retype(test::edit(card.get(), "txtCosto"), "12.5 euro");
  EXPECT_EQ(test::edit(card.get(), "txtCosto")->text(), "12.5 euro");
  EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(ProductCardTest, PasteIntoANumberBoxFollowsTheKeyRules) {
  retype(test::edit(card.get(), "txtPrezzo"), "1");
  QApplication::clipboard()->setText("2,5");
  QTest::keyClick(test::edit(card.get(), "txtPrezzo"), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(test::edit(card.get(), "txtPrezzo")->text(), "12,5");
  EXPECT_TRUE(fake.messages.isEmpty());
  QApplication::clipboard()->setText("7");
  QTest::keyClick(test::edit(card.get(), "txtPrezzo"), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(test::edit(card.get(), "txtPrezzo")->text(), "12,57");
  for (const char* bad : {"3,1", "4a", "-2"}) {
    fake.clear();
    QApplication::clipboard()->setText(QString::fromLatin1(bad));
    QTest::keyClick(test::edit(card.get(), "txtPrezzo"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(test::edit(card.get(), "txtPrezzo")->text(), "12,57") << bad;
    ASSERT_EQ(fake.messages.size(), 1) << bad;
    EXPECT_EQ(fake.last().text, kBadCharacter);
  }
}

TEST_F(ProductCardTest, FirstSaveCreatesTheArchiveAndNormalisesTheNumbers) {
  ASSERT_FALSE(fs::exists(archive()));
  test::edit(card.get(), "txtCodice")->setText("  ABC  ");
  test::edit(card.get(), "txtDescrizione")->setText(QString(300, QLatin1Char('d')));
  card->attachmentFields().file[0]->setText(" /tmp/foto.jpg ");
  retype(test::edit(card.get(), "txtSottoscorta"), "2,5");
  retype(test::edit(card.get(), "txtGiacenza"), "7,5");  // saved while still in the box
  test::edit(card.get(), "txtPrezzo")->setText("");      // an empty price, never left
  click(test::clickLabel(card.get(), "imgSalva"));

  ASSERT_TRUE(fs::exists(archive()));
  EXPECT_EQ(fs::file_size(archive()), 5170u);

  const Record r = stored(1);
  EXPECT_EQ(r[product::Codice], "ABC");
  EXPECT_EQ(r[product::Descrizione], std::string(250, 'd'));
  EXPECT_EQ(r[product::Prezzo], "0,00");
  EXPECT_EQ(r[product::Giacenza], "8");
  EXPECT_EQ(r[product::Sottoscorta], "3");
  EXPECT_EQ(r[product::File01], "/tmp/foto.jpg");
  // The card shows what was stored.
  EXPECT_EQ(test::edit(card.get(), "txtPrezzo")->text(), "0,00");
  EXPECT_EQ(test::edit(card.get(), "txtGiacenza")->text(), "8");
  EXPECT_EQ(test::edit(card.get(), "txtSottoscorta")->text(), "3");

  // A price not yet left is stored as typed; the second save overwrites.
  fake.clear();
  retype(test::edit(card.get(), "txtPrezzo"), "12,5");
  click(test::clickLabel(card.get(), "imgSalva"));
  EXPECT_EQ(fs::file_size(archive()), 5170u);
  EXPECT_EQ(stored(1)[product::Prezzo], "12,5");
}

TEST_F(ProductCardTest, AStockThatIsNoNumberStopsTheSaveBeforeAnythingIsWritten) {
  // As a hand-edited archive may hold.
  addProduct("P1");
  const auto before = test::readBytes(archive());
  test::edit(card.get(), "txtCodice")->setText("NEW");
  test::edit(card.get(), "txtGiacenza")->setText("sette");
  click(test::clickLabel(card.get(), "imgSalva"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, archiveAccessMessage());
  EXPECT_TRUE(fake.last().plain);
  EXPECT_EQ(test::readBytes(archive()), before);
  EXPECT_TRUE(test::label(card.get(), "lblPosizione")->text().isEmpty());
  EXPECT_EQ(test::edit(card.get(), "txtGiacenza")->text(), "sette");
}

TEST_F(ProductCardTest, NavigationShowsStoredTextsAsTheyAre) {
  addProduct("P1", "3,125", "7,5");
  addProduct("P2");
  addProduct("P3");

  click(test::clickLabel(card.get(), "imgAvanti"));  // next on a new card
  EXPECT_EQ(test::label(card.get(), "lblPosizione")->text(), "1");
  EXPECT_EQ(test::edit(card.get(), "txtCodice")->text(), "P1");
  EXPECT_EQ(test::edit(card.get(), "txtMarca")->text(), "Marca di P1");
  EXPECT_EQ(test::edit(card.get(), "txtPrezzo")->text(), "3,125");
  EXPECT_EQ(test::edit(card.get(), "txtGiacenza")->text(), "7,5") << "loading does not reformat";
  EXPECT_EQ(card->attachmentFields().file[0]->text(), "/tmp/foto.jpg");
  click(test::clickLabel(card.get(), "imgIndietro"));  // previous on record 1: nothing at all
  EXPECT_EQ(test::label(card.get(), "lblPosizione")->text(), "1");
  click(test::clickLabel(card.get(), "imgAvanti"));
  EXPECT_EQ(test::edit(card.get(), "txtCodice")->text(), "P2");
  click(test::clickLabel(card.get(), "imgUltimo"));
  EXPECT_EQ(test::label(card.get(), "lblPosizione")->text(), "3");
  click(test::clickLabel(card.get(), "imgAvanti"));  // next on the last: nothing
  EXPECT_EQ(test::label(card.get(), "lblPosizione")->text(), "3");
  EXPECT_EQ(test::edit(card.get(), "txtCodice")->text(), "P3");
  click(test::clickLabel(card.get(), "imgIndietro"));
  EXPECT_EQ(test::edit(card.get(), "txtCodice")->text(), "P2");
  click(test::clickLabel(card.get(), "imgPrimo"));
  EXPECT_EQ(test::edit(card.get(), "txtCodice")->text(), "P1");
  EXPECT_TRUE(fake.messages.isEmpty());

  // New card: everything emptied, defaults back, focus in the code.
  test::edit(card.get(), "txtNote")->setFocus();
  click(test::clickLabel(card.get(), "imgNuovo"));
  EXPECT_TRUE(test::edit(card.get(), "txtCodice")->text().isEmpty());
  EXPECT_TRUE(test::edit(card.get(), "txtMarca")->text().isEmpty());
  EXPECT_TRUE(card->attachmentFields().file[0]->text().isEmpty());
  EXPECT_TRUE(test::label(card.get(), "lblPosizione")->text().isEmpty());
  EXPECT_EQ(test::edit(card.get(), "txtPrezzo")->text(), "0,00");
  EXPECT_EQ(test::edit(card.get(), "txtGiacenza")->text(), "0");
  EXPECT_EQ(QApplication::focusWidget(), test::edit(card.get(), "txtCodice"));
  click(test::clickLabel(card.get(), "imgIndietro"));  // previous on a new card shows record 1
  EXPECT_EQ(test::label(card.get(), "lblPosizione")->text(), "1");
}

TEST_F(ProductCardTest, WebSearchNeedsABrandAndEncodesTheQuery) {
  test::edit(card.get(), "txtMarca")->setText("   ");
  test::edit(card.get(), "txtModello")->setText("X100");
  test::edit(card.get(), "txtCodice")->setFocus();
  click(test::clickLabel(card.get(), "imgElimina"));
  EXPECT_TRUE(fake.urls.isEmpty());
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_TRUE(fake.last().plain);
  EXPECT_EQ(fake.last().text, QString::fromUtf8("Per poter effettuare una ricerca sul Web è necessario compilare il "
                                                "campo relativo alla marca dell'articolo."));
  EXPECT_EQ(QApplication::focusWidget(), test::edit(card.get(), "txtMarca"));

  const struct {
    const char *brand, *model, *query;
  } cases[] = {
      {" Acme ", "", "Acme "},
      {"AT&T", "C#", "AT&T C#"},
      {"C++", " 50% a=b ", "C++ 50% a=b"},
      {"Caffè", "Dolce", "Caffè Dolce"},
  };
  for (const auto& c : cases) {
    fake.clear();
    test::edit(card.get(), "txtMarca")->setText(QString::fromUtf8(c.brand));
    test::edit(card.get(), "txtModello")->setText(QString::fromUtf8(c.model));
    click(test::clickLabel(card.get(), "imgElimina"));
    ASSERT_EQ(fake.urls.size(), 1) << c.brand;
    const QUrl url = fake.urls.first();
    EXPECT_EQ(url.scheme(), "https");
    EXPECT_EQ(url.host(), "www.google.com");
    EXPECT_EQ(url.path(), "/search");
    EXPECT_TRUE(url.fragment().isEmpty());
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItems().size(), 1) << url.toString().toStdString();
    EXPECT_EQ(query.queryItemValue("q", QUrl::FullyDecoded), QString::fromUtf8(c.query));
    EXPECT_TRUE(fake.messages.isEmpty());
  }
  EXPECT_TRUE(fake.urls.first().toEncoded().endsWith("q=Caff%C3%A8%20Dolce"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";
}

TEST_F(ProductCardTest, DialogsAreCreatedForOneUseAndFilledFromTheCard) {
  QList<QPointer<QDialog>> shown;
  QString memory;
  QStringList fields;
  test::FakeFlow flow;
  flow.onModal = [&](QDialog& d) {
    shown.append(&d);
    EXPECT_EQ(d.parentWidget(), card.get());
    if (auto* s = qobject_cast<TfrmCercaMateriale*>(&d)) memory = test::label(s, "lblMemory")->text();
    if (auto* a = qobject_cast<TfrmAllegatiMat*>(&d))
      fields = {test::edit(a, "txtFile01")->text(), test::edit(a, "txtFile02")->text(),
                test::edit(a, "txtFile03")->text(), test::edit(a, "txtDesc01")->text(),
                test::edit(a, "txtDesc02")->text(), test::edit(a, "txtDesc03")->text()};
    if (auto* f = qobject_cast<TfrmCartellaMat*>(&d))
      fields = {test::edit(f, "txtFile01")->text(), test::edit(f, "txtDesc01")->text()};
    return 0;
  };
  click(test::clickLabel(card.get(), "imgTrova"));
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(memory, "materiali");
  EXPECT_TRUE(shown.last().isNull()) << "destroyed when it closes";

  click(test::clickLabel(card.get(), "imgDoppioTurno"));
  ASSERT_EQ(shown.size(), 2);
  EXPECT_TRUE(shown.last().isNull());

  card->attachmentFields().file[0]->setText(" /tmp/a.pdf ");
  card->attachmentFields().file[2]->setText("/tmp/c.txt");
  card->attachmentFields().description[0]->setText("  manuale ");
  card->attachmentFields().description[1]->setText("solo descrizione");
  click(test::clickLabel(card.get(), "imgFile"));
  ASSERT_EQ(shown.size(), 3);
  EXPECT_EQ(fields, QStringList({"/tmp/a.pdf", "", "/tmp/c.txt", "manuale", "solo descrizione", ""}));
  EXPECT_TRUE(shown.last().isNull());

  card->attachmentFields().folder->setText(" /tmp/progetti ");
  card->attachmentFields().folderDescription->setText("foto ");
  click(test::clickLabel(card.get(), "imgCartella"));
  ASSERT_EQ(shown.size(), 4);
  EXPECT_EQ(fields, QStringList({"/tmp/progetti", "foto"}));
  EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(ProductCardTest, WordExportNeedsTheCode) {
  test::edit(card.get(), "txtCodice")->setText(" ");
  test::edit(card.get(), "txtMarca")->setFocus();
  click(test::clickLabel(card.get(), "imgWord"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_TRUE(fake.last().plain);
  EXPECT_EQ(fake.last().text, QString::fromUtf8("Per poter esportare la scheda corrente in Microsoft Word è necessario "
                                                "indicare il codice articolo."));
  EXPECT_EQ(QApplication::focusWidget(), test::edit(card.get(), "txtCodice"));
}

TEST_F(ProductCardTest, StatusBarNamesTheCommandUnderTheMouse) {
  QLabel* pan = card->statusPanel();
  auto hover = [](QWidget* w) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(w, &enter);
  };
  hover(test::clickLabel(card.get(), "imgElimina"));
  EXPECT_EQ(pan->text(), QString::fromUtf8(" Cerca sul Web, tramite Google, informazioni relative all'articolo "
                                           "descritto nella scheda corrente."));
  hover(test::clickLabel(card.get(), "imgUltimo"));
  EXPECT_EQ(pan->text(), " Visualizza l'ultima scheda in archivio");
  hover(test::named<QGroupBox>(card.get(), "grpSezione02"));
  EXPECT_TRUE(pan->text().isEmpty());
  hover(test::clickLabel(card.get(), "imgDoppioTurno"));
  EXPECT_EQ(pan->text(), " Visualizza l'elenco dei prodotti in esaurimento.");
  hover(card->container());
  EXPECT_TRUE(pan->text().isEmpty());

  // With the real mouse: from a command back onto the background of its group.
  QTest::mouseMove(test::clickLabel(card.get(), "imgSalva"), QPoint(10, 10));
  EXPECT_EQ(pan->text(), QString::fromUtf8(" Salva in archivio i dati relativi alla scheda corrente oppure "
                                           "aggiorna la scheda esistente."));
  QTest::mouseMove(test::named<QGroupBox>(card.get(), "grpControlli"),
                   QPoint(4, test::named<QGroupBox>(card.get(), "grpControlli")->height() - 4));
  EXPECT_TRUE(pan->text().isEmpty());
}

}  // namespace
}  // namespace zel
