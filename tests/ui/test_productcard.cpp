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

class ProductCardTest : public ::testing::Test, public test::ControlsOf<ProductCardTest> {
 protected:
  void SetUp() override {
    card = std::make_unique<TfrmMateriali>();
    test::showActive(card.get());
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
 public:
  // The window whose controls edit(), label(), command()... find.
  const QObject* window() const { return card.get(); }
};

TEST_F(ProductCardTest, OpensAsANewCardWithDefaults) {
  EXPECT_EQ(card->windowTitle(), QString::fromUtf8(" Zelvano © - Prodotti e servizi"));
  EXPECT_EQ(card->minimumSize(), QSize(1038, 742));
  EXPECT_EQ(edit("txtPrezzo")->text(), "0,00");
  EXPECT_EQ(edit("txtGiacenza")->text(), "0");
  EXPECT_EQ(edit("txtSottoscorta")->text(), "0");
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), edit("txtCodice"));
  for (QLabel* l : card->attachmentFields().all())
    EXPECT_FALSE(l->isVisible()) << l->objectName().toStdString();
  EXPECT_EQ(edit("txtCodice")->maxLength(), 250);
  EXPECT_EQ(edit("txtData")->maxLength(), 50);
  EXPECT_EQ(edit("txtPrezzo")->maxLength(), 15);
  EXPECT_EQ(fieldColour(edit("txtCodice")), kFocusYellow);
  EXPECT_EQ(fieldColour(edit("txtMarca")), kMoneyGreen);

  // A second showing starts a new card again, whatever the first left.
  edit("txtCodice")->setText("X");
  edit("txtGiacenza")->setText("12");
  label("lblPosizione")->setText("4");
  card->attachmentFields().file[1]->setText("/tmp/a");
  card->hide();
  card->show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(edit("txtCodice")->text().isEmpty());
  EXPECT_EQ(edit("txtGiacenza")->text(), "0");
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());
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
  EXPECT_EQ(QApplication::focusWidget(), edit("txtCodice")) << "from the notes back to the code";
  EXPECT_EQ(fieldColour(edit("txtCodice")), kFocusYellow);
  EXPECT_TRUE(fake.messages.isEmpty()) << "Enter is not a refused key in the number boxes";
}

TEST_F(ProductCardTest, NumberBoxesAreFormattedWhenLeft) {
  const struct {
    QLineEdit* box;
    const char* typed;
    const char* shown;
  } cases[] = {
      {edit("txtPrezzo"), "12", "12,00"},      {edit("txtPrezzo"), "12,5", "12,50"},
      {edit("txtPrezzo"), "12,345", "12,345"}, {edit("txtPrezzo"), "12,34567", "12,3457"},
      {edit("txtPrezzo"), "0,5", "0,50"},      {edit("txtPrezzo"), ",", "0,00"},
      {edit("txtPrezzo"), "", "0,00"},         {edit("txtGiacenza"), "7,5", "8"},
      {edit("txtGiacenza"), "0,4", "0"},       {edit("txtGiacenza"), "", "0"},
      {edit("txtSottoscorta"), "2,5", "3"},    {edit("txtSottoscorta"), ",", "0"},
  };
  for (const auto& c : cases) {
    retype(c.box, QString::fromLatin1(c.typed));
    ASSERT_EQ(c.box->text(), QString::fromLatin1(c.typed)) << "typing is not formatted";
    edit("txtCodice")->setFocus();  // leaving the box
    QCoreApplication::processEvents();
    EXPECT_EQ(c.box->text(), QString::fromLatin1(c.shown)) << c.box->objectName().toStdString() << " "
                                                           << c.typed;
  }
  // Leaving by Enter formats too, and the focus goes on along the cycle.
  retype(edit("txtGiacenza"), "7,5");
  QTest::keyClick(edit("txtGiacenza"), Qt::Key_Return);
  EXPECT_EQ(edit("txtGiacenza")->text(), "8");
  EXPECT_EQ(QApplication::focusWidget(), edit("txtSottoscorta"));
  EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(ProductCardTest, ValueAboveThirtyMillionResetsTheBox) {
  const struct {
    QLineEdit* box;
    const char* message;
    const char* reset;
  } cases[] = {
      {edit("txtPrezzo"), "Attenzione: valore non valido.", "0,00"},
      {edit("txtGiacenza"), "Attenzione: il valore della giacenza massima non può superare 30 milioni.", "0"},
      {edit("txtSottoscorta"), "Attenzione: il valore massimo non può superare 30 milioni.", "0"},
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
  edit("txtPrezzo")->setText("30000001");
  edit("txtPrezzo")->end(false);
  QTest::keyClick(edit("txtPrezzo"), Qt::Key_Backspace);
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(edit("txtPrezzo")->text(), "0,00");
  // The limit itself still takes keys.
  fake.clear();
  retype(edit("txtPrezzo"), "30000000");
  QTest::keyClick(edit("txtPrezzo"), Qt::Key_Comma);
  EXPECT_TRUE(fake.messages.isEmpty());
  EXPECT_EQ(edit("txtPrezzo")->text(), "30000000,");
}

TEST_F(ProductCardTest, OnlyDigitsAndOneCommaAreTyped) {
  for (QLineEdit* box : {edit("txtPrezzo"), edit("txtGiacenza"), edit("txtSottoscorta")}) {
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
  retype(edit("txtCosto"), "12.5 euro");
  EXPECT_EQ(edit("txtCosto")->text(), "12.5 euro");
  EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(ProductCardTest, PasteIntoANumberBoxFollowsTheKeyRules) {
  retype(edit("txtPrezzo"), "1");
  QApplication::clipboard()->setText("2,5");
  QTest::keyClick(edit("txtPrezzo"), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit("txtPrezzo")->text(), "12,5");
  EXPECT_TRUE(fake.messages.isEmpty());
  QApplication::clipboard()->setText("7");
  QTest::keyClick(edit("txtPrezzo"), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit("txtPrezzo")->text(), "12,57");
  for (const char* bad : {"3,1", "4a", "-2"}) {
    fake.clear();
    QApplication::clipboard()->setText(QString::fromLatin1(bad));
    QTest::keyClick(edit("txtPrezzo"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit("txtPrezzo")->text(), "12,57") << bad;
    ASSERT_EQ(fake.messages.size(), 1) << bad;
    EXPECT_EQ(fake.last().text, kBadCharacter);
  }
}

TEST_F(ProductCardTest, FirstSaveCreatesTheArchiveAndNormalisesTheNumbers) {
  ASSERT_FALSE(fs::exists(archive()));
  edit("txtCodice")->setText("  ABC  ");
  edit("txtDescrizione")->setText(QString(300, QLatin1Char('d')));
  card->attachmentFields().file[0]->setText(" /tmp/foto.jpg ");
  retype(edit("txtSottoscorta"), "2,5");
  retype(edit("txtGiacenza"), "7,5");  // saved while still in the box
  edit("txtPrezzo")->setText("");      // an empty price, never left
  click(command("imgSalva"));

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
  EXPECT_EQ(edit("txtPrezzo")->text(), "0,00");
  EXPECT_EQ(edit("txtGiacenza")->text(), "8");
  EXPECT_EQ(edit("txtSottoscorta")->text(), "3");

  // A price not yet left is stored as typed; the second save overwrites.
  fake.clear();
  retype(edit("txtPrezzo"), "12,5");
  click(command("imgSalva"));
  EXPECT_EQ(fs::file_size(archive()), 5170u);
  EXPECT_EQ(stored(1)[product::Prezzo], "12,5");
}

TEST_F(ProductCardTest, AStockThatIsNoNumberStopsTheSaveBeforeAnythingIsWritten) {
  // As a hand-edited archive may hold.
  addProduct("P1");
  const auto before = test::readBytes(archive());
  edit("txtCodice")->setText("NEW");
  edit("txtGiacenza")->setText("sette");
  click(command("imgSalva"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, archiveAccessMessage());
  EXPECT_TRUE(fake.last().plain);
  EXPECT_EQ(test::readBytes(archive()), before);
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());
  EXPECT_EQ(edit("txtGiacenza")->text(), "sette");
}

TEST_F(ProductCardTest, NavigationShowsStoredTextsAsTheyAre) {
  addProduct("P1", "3,125", "7,5");
  addProduct("P2");
  addProduct("P3");

  click(command("imgAvanti"));  // next on a new card
  EXPECT_EQ(label("lblPosizione")->text(), "1");
  EXPECT_EQ(edit("txtCodice")->text(), "P1");
  EXPECT_EQ(edit("txtMarca")->text(), "Marca di P1");
  EXPECT_EQ(edit("txtPrezzo")->text(), "3,125");
  EXPECT_EQ(edit("txtGiacenza")->text(), "7,5") << "loading does not reformat";
  EXPECT_EQ(card->attachmentFields().file[0]->text(), "/tmp/foto.jpg");
  click(command("imgIndietro"));  // previous on record 1: nothing at all
  EXPECT_EQ(label("lblPosizione")->text(), "1");
  click(command("imgAvanti"));
  EXPECT_EQ(edit("txtCodice")->text(), "P2");
  click(command("imgUltimo"));
  EXPECT_EQ(label("lblPosizione")->text(), "3");
  click(command("imgAvanti"));  // next on the last: nothing
  EXPECT_EQ(label("lblPosizione")->text(), "3");
  EXPECT_EQ(edit("txtCodice")->text(), "P3");
  click(command("imgIndietro"));
  EXPECT_EQ(edit("txtCodice")->text(), "P2");
  click(command("imgPrimo"));
  EXPECT_EQ(edit("txtCodice")->text(), "P1");
  EXPECT_TRUE(fake.messages.isEmpty());

  // New card: everything emptied, defaults back, focus in the code.
  edit("txtNote")->setFocus();
  click(command("imgNuovo"));
  EXPECT_TRUE(edit("txtCodice")->text().isEmpty());
  EXPECT_TRUE(edit("txtMarca")->text().isEmpty());
  EXPECT_TRUE(card->attachmentFields().file[0]->text().isEmpty());
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());
  EXPECT_EQ(edit("txtPrezzo")->text(), "0,00");
  EXPECT_EQ(edit("txtGiacenza")->text(), "0");
  EXPECT_EQ(QApplication::focusWidget(), edit("txtCodice"));
  click(command("imgIndietro"));  // previous on a new card shows record 1
  EXPECT_EQ(label("lblPosizione")->text(), "1");
}

TEST_F(ProductCardTest, WebSearchNeedsABrandAndEncodesTheQuery) {
  edit("txtMarca")->setText("   ");
  edit("txtModello")->setText("X100");
  edit("txtCodice")->setFocus();
  click(command("imgElimina"));
  EXPECT_TRUE(fake.urls.isEmpty());
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_TRUE(fake.last().plain);
  EXPECT_EQ(fake.last().text, QString::fromUtf8("Per poter effettuare una ricerca sul Web è necessario compilare il "
                                                "campo relativo alla marca dell'articolo."));
  EXPECT_EQ(QApplication::focusWidget(), edit("txtMarca"));

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
    edit("txtMarca")->setText(QString::fromUtf8(c.brand));
    edit("txtModello")->setText(QString::fromUtf8(c.model));
    click(command("imgElimina"));
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
  click(command("imgTrova"));
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(memory, "materiali");
  EXPECT_TRUE(shown.last().isNull()) << "destroyed when it closes";

  click(command("imgDoppioTurno"));
  ASSERT_EQ(shown.size(), 2);
  EXPECT_TRUE(shown.last().isNull());

  card->attachmentFields().file[0]->setText(" /tmp/a.pdf ");
  card->attachmentFields().file[2]->setText("/tmp/c.txt");
  card->attachmentFields().description[0]->setText("  manuale ");
  card->attachmentFields().description[1]->setText("solo descrizione");
  click(command("imgFile"));
  ASSERT_EQ(shown.size(), 3);
  EXPECT_EQ(fields, QStringList({"/tmp/a.pdf", "", "/tmp/c.txt", "manuale", "solo descrizione", ""}));
  EXPECT_TRUE(shown.last().isNull());

  card->attachmentFields().folder->setText(" /tmp/progetti ");
  card->attachmentFields().folderDescription->setText("foto ");
  click(command("imgCartella"));
  ASSERT_EQ(shown.size(), 4);
  EXPECT_EQ(fields, QStringList({"/tmp/progetti", "foto"}));
  EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(ProductCardTest, WordExportNeedsTheCode) {
  edit("txtCodice")->setText(" ");
  edit("txtMarca")->setFocus();
  click(command("imgWord"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_TRUE(fake.last().plain);
  EXPECT_EQ(fake.last().text, QString::fromUtf8("Per poter esportare la scheda corrente in Microsoft Word è necessario "
                                                "indicare il codice articolo."));
  EXPECT_EQ(QApplication::focusWidget(), edit("txtCodice"));
}

TEST_F(ProductCardTest, StatusBarNamesTheCommandUnderTheMouse) {
  QLabel* pan = card->statusPanel();
  auto hover = [](QWidget* w) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(w, &enter);
  };
  hover(command("imgElimina"));
  EXPECT_EQ(pan->text(), QString::fromUtf8(" Cerca sul Web, tramite Google, informazioni relative all'articolo "
                                           "descritto nella scheda corrente."));
  hover(command("imgUltimo"));
  EXPECT_EQ(pan->text(), " Visualizza l'ultima scheda in archivio");
  hover(control<QGroupBox>("grpSezione02"));
  EXPECT_TRUE(pan->text().isEmpty());
  hover(command("imgDoppioTurno"));
  EXPECT_EQ(pan->text(), " Visualizza l'elenco dei prodotti in esaurimento.");
  hover(card->container());
  EXPECT_TRUE(pan->text().isEmpty());

  // With the real mouse: from a command back onto the background of its group.
  QTest::mouseMove(command("imgSalva"), QPoint(10, 10));
  EXPECT_EQ(pan->text(), QString::fromUtf8(" Salva in archivio i dati relativi alla scheda corrente oppure "
                                           "aggiorna la scheda esistente."));
  QTest::mouseMove(control<QGroupBox>("grpControlli"), QPoint(4, control<QGroupBox>("grpControlli")->height() - 4));
  EXPECT_TRUE(pan->text().isEmpty());
}

}  // namespace
}  // namespace zel
