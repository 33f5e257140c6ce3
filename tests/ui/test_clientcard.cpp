// The client card driven as a user drives it: typing, Enter, clicks on the
// command images, with the services fake answering the message boxes and a
// temporary program folder holding Anagrafica.pro.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QTimer>
#include <QTest>
#include <QUrlQuery>

#include <filesystem>
#include <iterator>

#include "attach/allegatides.h"
#include "attach/cartellades.h"
#include "checks/carta.h"
#include "checks/codfisc.h"
#include "checks/iban.h"
#include "checks/iva.h"
#include "clients/cercadestinatari.h"
#include "clients/destinatari.h"
#include "clients/esportades.h"
#include "store/layout.h"
#include "support/files.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

constexpr size_t kSize = 3890;

using test::u8;

// Field `name` of record k (1-based) of the file, as stored (Windows-1252).
Text storedField(const fs::path& file, size_t k, std::string_view name) {
  const std::string all = test::readText(file);
  const Layout& l = clientLayout();
  if (all.size() < k * kSize) return "<missing record>";
  const Record r = decodeRecord(l, reinterpret_cast<const uint8_t*>(all.data()) + (k - 1) * kSize);
  return r[l.indexOf(name)];
}

class ClientCard : public ::testing::Test, public test::ControlsOf<ClientCard> {
 protected:
  void SetUp() override {
    card = std::make_unique<TfrmDestinatari>();
    card->show();
    QApplication::setActiveWindow(card.get());
    QCoreApplication::processEvents();
  }

  fs::path archive() const { return folder.file("Anagrafica.pro"); }

  void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

  // Types the text key by key; letters outside ASCII arrive as the keyboard
  // sends them, as the text of a key without a key code of its own.
  static void keys(QWidget* field, const QString& text) {
    for (QChar c : text) {
      if (c.unicode() < 128) {
        QTest::keyClicks(field, QString(c));
      } else {
        QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
      }
    }
  }

  static void type(QWidget* field, const QString& text) {
    field->setFocus();
    keys(field, text);
  }

  // A new card with its two mandatory fields, saved.
  void saveClient(const QString& codice, const QString& persona) {
    click(command("cmdNuovo"));
    type(edit("txtCodice"), codice);
    type(edit("txtPersona"), persona);
    click(command("cmdSalva"));
  }

  test::FakeServices fake;
  test::FakeFlow flow;
  test::TempProgramFolder folder;
  std::unique_ptr<TfrmDestinatari> card;
 public:
  // The window whose controls edit(), label(), command()... find.
  const QObject* window() const { return card.get(); }
};

TEST_F(ClientCard, SavingANewCardAppendsItAndSavingAgainOverwritesIt) {
  ASSERT_FALSE(fs::exists(archive()));
  ASSERT_EQ(QApplication::focusWidget(), edit("txtCodice"));
  QTest::keyClicks(edit("txtCodice"), QStringLiteral("  C001 "));
  type(edit("txtPersona"), QStringLiteral("Mario Rossi"));
  type(edit("txtCitta"), QStringLiteral("00100 Roma RM"));
  card->attachmentFields().file[0]->setText(QString(300, QLatin1Char('f')));
  click(command("cmdSalva"));

  EXPECT_EQ(fs::file_size(archive()), kSize);
  EXPECT_EQ(storedField(archive(), 1, "Codice"), "C001");
  EXPECT_EQ(storedField(archive(), 1, "Citta"), "00100 Roma RM");
  EXPECT_EQ(storedField(archive(), 1, "File01"), std::string(250, 'f'));
  EXPECT_EQ(storedField(archive(), 1, "Ufficio"), "");

  type(edit("txtUfficio"), QStringLiteral("Acquisti"));
  click(command("cmdSalva"));
  EXPECT_EQ(fs::file_size(archive()), kSize);
  EXPECT_EQ(storedField(archive(), 1, "Ufficio"), "Acquisti");
}

TEST_F(ClientCard, SaveRefusesAMissingNameAndWritesNothing) {
  edit("txtCodice")->setText(QStringLiteral("C001"));
  edit("txtPersona")->setText(QStringLiteral(" \t "));
  edit("txtCodice")->setFocus();
  click(command("cmdSalva"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, u8("Per salvare la scheda è necessario indicare il nome della persona o azienda."));
  EXPECT_EQ(fake.last().title, QStringLiteral("Salvataggio scheda non applicabile"));
  EXPECT_EQ(QApplication::focusWidget(), edit("txtPersona"));
  EXPECT_FALSE(fs::exists(archive()));
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());
}

TEST_F(ClientCard, DigitFieldsRefuseOtherKeysAndCodesTurnUpperCase) {
  type(edit("txtIva"), QStringLiteral("12"));
  QTest::keyClicks(edit("txtIva"), QStringLiteral("a"));
  EXPECT_EQ(edit("txtIva")->text(), QStringLiteral("12"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_TRUE(fake.last().plain);
  EXPECT_EQ(fake.last().text, QStringLiteral("Attenzione: carattere non valido. Indicare il numero di partita IVA "
                                             "digitando solo valori numerici."));
  QTest::keyClick(edit("txtIva"), Qt::Key_Backspace);
  EXPECT_EQ(edit("txtIva")->text(), QStringLiteral("1"));
  EXPECT_EQ(fake.messages.size(), 1);

  type(edit("txtCarta"), QStringLiteral("4539-"));
  EXPECT_EQ(edit("txtCarta")->text(), QStringLiteral("4539"));
  EXPECT_EQ(fake.last().text, QStringLiteral("Attenzione: carattere non valido. Indicare il numero di carta di "
                                             "credito digitando solo valori numerici senza trattini o spazi."));

  type(edit("txtCodFisc"), QStringLiteral("rss"));
  EXPECT_EQ(edit("txtCodFisc")->text(), QStringLiteral("RSS"));
  EXPECT_EQ(edit("txtCodFisc")->cursorPosition(), 3);
  // A letter typed in the middle keeps the caret right after it.
  edit("txtCodFisc")->setText(QStringLiteral("RSSMRA"));
  edit("txtCodFisc")->setCursorPosition(3);
  QTest::keyClicks(edit("txtCodFisc"), QStringLiteral("x"));
  EXPECT_EQ(edit("txtCodFisc")->text(), QStringLiteral("RSSXMRA"));
  EXPECT_EQ(edit("txtCodFisc")->cursorPosition(), 4);

  type(edit("txtIban"), u8("it60 città"));
  EXPECT_EQ(edit("txtIban")->text(), u8("IT60 CITTà"));
}

TEST_F(ClientCard, EnterWalksTheWholeChainAndWraps) {
  const QStringList order = {
      "txtCodice",   "txtPersona", "txtUfficio", "txtIndirizzo",    "txtCitta",     "txtTipoDoc", "txtNumDoc",
      "txtEnteDoc",  "txtRilDoc",  "txtScaDoc",  "txtCodFisc",      "txtIva",       "txtCarta",   "txtTipoCarta",
      "txtScaCarta", "txtIban",    "txtBanca",   "txtIntestatario", "txtPagamento", "txtTelCasa", "txtTelUff",
      "txtTelCel",   "txtFax",     "txtEmail",   "txtNote"};
  ASSERT_EQ(QApplication::focusWidget(), edit("txtCodice"));
  for (int i = 0; i < order.size(); ++i) {
    QWidget* now = QApplication::focusWidget();
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(now->objectName(), order[i]) << "step " << i;
    EXPECT_EQ(fieldColour(now), kFocusYellow) << order[i].toStdString();
    if (now == control<QPlainTextEdit>("txtNote")) QTest::keyClicks(now, QStringLiteral("riga"));
    QTest::keyClick(now, Qt::Key_Return);
    EXPECT_EQ(fieldColour(now), kMoneyGreen) << order[i].toStdString();
  }
  EXPECT_EQ(QApplication::focusWidget(), edit("txtCodice"));
  EXPECT_EQ(control<QPlainTextEdit>("txtNote")->toPlainText(), QStringLiteral("riga"));
  // Tab follows the same order.
  edit("txtScaDoc")->setFocus();
  QTest::keyClick(edit("txtScaDoc"), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), edit("txtCodFisc"));
  edit("txtEmail")->setFocus();
  QTest::keyClick(edit("txtEmail"), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), control<QPlainTextEdit>("txtNote"));
}

TEST_F(ClientCard, DeleteAsksFirstAndRemovesExactlyTheCardShown) {
  saveClient(QStringLiteral("C1"), QStringLiteral("Primo"));
  saveClient(QStringLiteral("C2"), QStringLiteral("Secondo"));
  saveClient(QStringLiteral("C3"), QStringLiteral("Terzo"));
  ASSERT_EQ(fs::file_size(archive()), 3 * kSize);
  click(command("imgPrimo"));
  click(command("imgAvanti"));
  ASSERT_EQ(label("lblPosizione")->text(), QStringLiteral("2"));
  ASSERT_EQ(edit("txtCodice")->text(), QStringLiteral("C2"));
  fake.clear();

  const std::string before = test::readText(archive());
  fake.answers.push_back(MsgAnswer::No);
  click(command("cmdElimina"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, u8("Attenzione: si è deciso di eliminare la scheda corrente. I dati cancellati non "
                                 "potranno essere recuperati.\r\n\r\nSi vuole proprio eliminare la scheda corrente?"));
  EXPECT_EQ(fake.last().title, QStringLiteral("Conferma cancellazione scheda"));
  EXPECT_EQ(fake.last().icon, MsgIcon::Question);
  EXPECT_EQ(fake.last().buttons, MsgButtons::YesNo);
  EXPECT_EQ(test::readText(archive()), before);
  EXPECT_EQ(label("lblPosizione")->text(), QStringLiteral("2"));
  EXPECT_EQ(edit("txtPersona")->text(), QStringLiteral("Secondo"));

  fake.answers.push_back(MsgAnswer::Yes);
  edit("txtIban")->setFocus();
  click(command("cmdElimina"));
  EXPECT_EQ(fake.messages.size(), 2);  // the question only: no message confirms it
  EXPECT_EQ(fs::file_size(archive()), 2 * kSize);
  EXPECT_EQ(storedField(archive(), 1, "Codice"), "C1");
  EXPECT_EQ(storedField(archive(), 2, "Codice"), "C3");
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());
  EXPECT_TRUE(edit("txtCodice")->text().isEmpty());
  EXPECT_TRUE(edit("txtPersona")->text().isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), edit("txtCodice"));

  // The former third card is now the last, number 2; the edges are silent.
  click(command("imgUltimo"));
  EXPECT_EQ(label("lblPosizione")->text(), QStringLiteral("2"));
  EXPECT_EQ(edit("txtPersona")->text(), QStringLiteral("Terzo"));
  click(command("imgAvanti"));
  click(command("imgIndietro"));
  click(command("imgIndietro"));
  EXPECT_EQ(label("lblPosizione")->text(), QStringLiteral("1"));
  EXPECT_EQ(edit("txtPersona")->text(), QStringLiteral("Primo"));
  EXPECT_EQ(fake.messages.size(), 2);
}

TEST_F(ClientCard, DeleteOnANewCardOnlyWarns) {
  saveClient(QStringLiteral("C1"), QStringLiteral("Primo"));
  click(command("cmdNuovo"));
  type(edit("txtCodice"), QStringLiteral("bozza"));
  fake.clear();
  click(command("cmdElimina"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text,
            u8("La cancellazione può essere applicata soltanto ad una scheda già registrata in archivio."));
  EXPECT_EQ(fake.last().title, QStringLiteral("Attenzione: operazione non applicabile"));
  EXPECT_EQ(fake.last().icon, MsgIcon::Warning);
  EXPECT_EQ(fake.last().buttons, MsgButtons::Ok);
  EXPECT_EQ(fs::file_size(archive()), kSize);
  EXPECT_EQ(edit("txtCodice")->text(), QStringLiteral("bozza"));
}

TEST_F(ClientCard, ReopeningShowsAnEmptyNewCardAndExitReturnsHome) {
  QWidget home;
  MainScreen::setHomeScreen(&home);
  saveClient(QStringLiteral("C1"), QStringLiteral("Primo"));
  type(control<QPlainTextEdit>("txtNote"), QStringLiteral("appunti"));
  card->attachmentFields().folder->setText(QStringLiteral("/dati/c1"));
  ASSERT_EQ(label("lblPosizione")->text(), QStringLiteral("1"));

  click(command("cmdEsci"));
  EXPECT_FALSE(card->isVisible());
  EXPECT_TRUE(home.isVisible());
  EXPECT_EQ(fs::file_size(archive()), kSize);  // closing saves nothing

  card->show();
  QApplication::setActiveWindow(card.get());
  QCoreApplication::processEvents();
  for (QWidget* c : card->dataControls())
    EXPECT_TRUE(controlText(c).isEmpty()) << c->objectName().toStdString();
  for (QLabel* l : {card->attachmentFields().file[0], card->attachmentFields().file[1],
                    card->attachmentFields().file[2], card->attachmentFields().description[0],
                    card->attachmentFields().description[1], card->attachmentFields().description[2],
                    card->attachmentFields().folder, card->attachmentFields().folderDescription, label("lblPosizione")})
    EXPECT_TRUE(l->text().isEmpty()) << l->objectName().toStdString();
  EXPECT_EQ(QApplication::focusWidget(), edit("txtCodice"));
  MainScreen::setHomeScreen(nullptr);
}

TEST_F(ClientCard, TextsGoToTheFileAsWindows1252) {
  type(edit("txtCodice"), QStringLiteral("C1"));
  type(edit("txtPersona"), u8("Città perché"));
  type(edit("txtUfficio"), u8("Ω ufficio"));
  type(control<QPlainTextEdit>("txtNote"), u8("Costo 5 €"));
  control<QPlainTextEdit>("txtNote")->insertPlainText(QStringLiteral("\ncon consegna"));
  // A letter the code page has not would be stored as '?': the save is
  // refused, the field shown, the archive untouched.
  click(command("cmdSalva"));
  EXPECT_FALSE(fs::exists(archive()) && fs::file_size(archive()) > 0);
  ASSERT_FALSE(fake.messages.isEmpty());
  EXPECT_TRUE(fake.last().text.startsWith(QStringLiteral("Attenzione: alcuni dati della scheda contengono caratteri")));
  EXPECT_TRUE(edit("txtUfficio")->hasFocus());
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());

  edit("txtUfficio")->clear();
  type(edit("txtUfficio"), u8("Ufficio perché"));
  click(command("cmdSalva"));
  EXPECT_EQ(storedField(archive(), 1, "Persona"), "Citt\xE0 perch\xE9");
  EXPECT_EQ(storedField(archive(), 1, "Ufficio"), "Ufficio perch\xE9");
  const std::string bytes = test::readText(archive());
  const size_t note = 1631;
  EXPECT_EQ(static_cast<unsigned char>(bytes[note + 1 + 8]), 0x80);
  EXPECT_EQ(static_cast<unsigned char>(bytes[51 + 1 + 4]), 0xE0);

  click(command("cmdNuovo"));
  click(command("imgPrimo"));
  EXPECT_EQ(edit("txtPersona")->text(), u8("Città perché"));
  EXPECT_EQ(control<QPlainTextEdit>("txtNote")->toPlainText(), u8("Costo 5 €\ncon consegna"));
}

TEST_F(ClientCard, PastedTextNeverExceedsTheFieldCapacity) {
  QApplication::clipboard()->setText(QString(80, QLatin1Char('k')));
  edit("txtCodice")->setFocus();
  QTest::keyClick(edit("txtCodice"), Qt::Key_V, Qt::ControlModifier);
  edit("txtCodFisc")->setFocus();
  QTest::keyClick(edit("txtCodFisc"), Qt::Key_V, Qt::ControlModifier);
  edit("txtIva")->setFocus();
  QTest::keyClick(edit("txtIva"), Qt::Key_V, Qt::ControlModifier);
  control<QPlainTextEdit>("txtNote")->setFocus();
  control<QPlainTextEdit>("txtNote")->insertPlainText(QString(400, QLatin1Char('n')));
  EXPECT_EQ(edit("txtCodice")->text().size(), 50);
  EXPECT_EQ(edit("txtCodFisc")->text(), QString(16, QLatin1Char('K')));
  EXPECT_EQ(edit("txtIva")->text(), QString(11, QLatin1Char('k')));  // the digit filter guards typing only
  EXPECT_EQ(control<QPlainTextEdit>("txtNote")->toPlainText().size(), 250);

  type(edit("txtPersona"), QStringLiteral("Incollato"));
  click(command("cmdSalva"));
  EXPECT_EQ(storedField(archive(), 1, "Codice"), std::string(50, 'k'));
  EXPECT_EQ(storedField(archive(), 1, "Note"), std::string(250, 'n'));
  EXPECT_EQ(storedField(archive(), 1, "CodFisc"), std::string(16, 'K'));
  EXPECT_EQ(storedField(archive(), 1, "Iva"), std::string(11, 'k'));
}

TEST_F(ClientCard, EmailAddressIsEncodedAndCannotAddHeaders) {
  type(edit("txtEmail"), QStringLiteral("  mario rossi@example.com?subject=x&cc=y@z.it#f "));
  click(command("imgEmail"));
  ASSERT_EQ(fake.urls.size(), 1);
  const QUrl url = fake.urls.last();
  EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
  EXPECT_FALSE(url.hasQuery());
  EXPECT_FALSE(url.hasFragment());
  EXPECT_EQ(url.toString(QUrl::FullyEncoded),
            QStringLiteral("mailto:mario%20rossi@example.com%3Fsubject%3Dx%26cc%3Dy@z.it%23f"));
  EXPECT_EQ(url.path(), QStringLiteral("mario rossi@example.com?subject=x&cc=y@z.it#f"));

  edit("txtEmail")->setText(u8("perché@esempio.it"));
  click(command("imgEmail"));
  EXPECT_EQ(fake.urls.last().toString(QUrl::FullyEncoded), QStringLiteral("mailto:perch%C3%A9@esempio.it"));

  edit("txtEmail")->clear();
  click(command("imgEmail"));
  EXPECT_EQ(fake.urls.last().toString(QUrl::FullyEncoded), QStringLiteral("mailto:"));
}

// Dialogs opened from the card, captured instead of shown.
struct Captured {
  QString className, caption;
  QMap<QString, QString> texts;  // object name -> text of its edits and labels
  QPointer<QDialog> dialog;
  QObject* parent = nullptr;
};

class ClientCardHandOver : public ClientCard {
 protected:
  void SetUp() override {
    ClientCard::SetUp();
    flow.onModal = [this](QDialog& d) {
      Captured c;
      c.className = QString::fromLatin1(d.metaObject()->className());
      c.caption = d.windowTitle();
      for (auto* e : d.findChildren<QLineEdit*>()) c.texts[e->objectName()] = e->text();
      for (auto* l : d.findChildren<QLabel*>()) c.texts[l->objectName()] = l->text();
      c.dialog = &d;
      c.parent = d.parent();
      shown.append(c);
      return 0;
    };
  }
  QList<Captured> shown;
};

TEST_F(ClientCardHandOver, TaxCodeCheckOpensTheWindowThatFitsTheCode) {
  edit("txtCodFisc")->setText(QStringLiteral(" 12345678903 "));
  click(command("chkCodFisc"));
  edit("txtCodFisc")->setText(QStringLiteral("RSSMRA80A01H501U"));
  click(command("chkCodFisc"));
  edit("txtCodFisc")->clear();
  click(command("chkCodFisc"));
  edit("txtCodFisc")->setText(QStringLiteral("1234567890X"));
  click(command("chkCodFisc"));

  ASSERT_EQ(shown.size(), 4);
  EXPECT_EQ(shown[0].className, QStringLiteral("zel::TfrmIva"));
  EXPECT_EQ(shown[0].caption, QStringLiteral(" Controllo codice fiscale numerico / partita IVA"));
  EXPECT_EQ(shown[0].texts["txtCodice"], QStringLiteral("12345678903"));
  EXPECT_EQ(shown[0].texts["lblInfo"], QStringLiteral("Immettere il codice fiscale numerico o la partita IVA nella casella"));
  EXPECT_EQ(shown[0].texts["lblInfo02"], QStringLiteral("sottostante e premere il pulsante di controllo."));
  EXPECT_EQ(shown[1].className, QStringLiteral("zel::TfrmCodFisc"));
  EXPECT_EQ(shown[1].texts["txtCodice"], QStringLiteral("RSSMRA80A01H501U"));
  EXPECT_EQ(shown[2].className, QStringLiteral("zel::TfrmCodFisc"));
  EXPECT_TRUE(shown[2].texts["txtCodice"].isEmpty());
  EXPECT_EQ(shown[3].className, QStringLiteral("zel::TfrmCodFisc"));
  for (const Captured& c : shown) {
    EXPECT_EQ(c.parent, card.get());
    EXPECT_TRUE(c.dialog.isNull());  // one use, then destroyed
  }
  // The VAT window opened for a VAT number keeps its own caption.
  edit("txtIva")->setText(QStringLiteral("12345678903"));
  click(command("chkIva"));
  EXPECT_EQ(shown.last().className, QStringLiteral("zel::TfrmIva"));
  EXPECT_NE(shown.last().caption, shown[0].caption);
}

TEST_F(ClientCardHandOver, EveryWindowReceivesTheTrimmedFieldTexts) {
  edit("txtIva")->setText(QStringLiteral("01234567890 "));
  edit("txtCarta")->setText(QStringLiteral(" 4539578763621486"));
  edit("txtIban")->setText(QStringLiteral("  IT60X0542811101000000123456 "));
  card->attachmentFields().file[0]->setText(QStringLiteral("  /home/a.pdf "));
  card->attachmentFields().file[2]->setText(QStringLiteral("/home/c.txt"));
  card->attachmentFields().description[0]->setText(QStringLiteral(" contratto\t"));
  card->attachmentFields().description[1]->setText(QStringLiteral("vuoto"));
  card->attachmentFields().folder->setText(QStringLiteral(" /home/clienti/c1 "));
  card->attachmentFields().folderDescription->setText(QStringLiteral("Documenti "));

  click(command("chkIva"));
  click(command("chkNumCarta"));
  click(command("chkIban"));
  click(command("cmdAllega"));
  click(command("cmdAssocia"));
  click(command("cmdRicerca"));

  ASSERT_EQ(shown.size(), 6);
  EXPECT_EQ(shown[0].className, QStringLiteral("zel::TfrmIva"));
  EXPECT_EQ(shown[0].texts["txtCodice"], QStringLiteral("01234567890"));
  EXPECT_EQ(shown[1].className, QStringLiteral("zel::TfrmCarta"));
  EXPECT_EQ(shown[1].texts["txtNumero"], QStringLiteral("4539578763621486"));
  EXPECT_EQ(shown[2].className, QStringLiteral("zel::TfrmIban"));
  EXPECT_EQ(shown[2].texts["txtCodice"], QStringLiteral("IT60X0542811101000000123456"));
  EXPECT_EQ(shown[3].className, QStringLiteral("zel::TfrmAllegatiDes"));
  EXPECT_EQ(shown[3].texts["txtFile01"], QStringLiteral("/home/a.pdf"));
  EXPECT_EQ(shown[3].texts["txtFile02"], QString());
  EXPECT_EQ(shown[3].texts["txtFile03"], QStringLiteral("/home/c.txt"));
  EXPECT_EQ(shown[3].texts["txtDesc01"], QStringLiteral("contratto"));
  EXPECT_EQ(shown[3].texts["txtDesc02"], QStringLiteral("vuoto"));
  EXPECT_EQ(shown[4].className, QStringLiteral("zel::TfrmCartellaDes"));
  EXPECT_EQ(shown[4].texts["txtFile01"], QStringLiteral("/home/clienti/c1"));
  EXPECT_EQ(shown[4].texts["txtDesc01"], QStringLiteral("Documenti"));
  EXPECT_EQ(shown[5].className, QStringLiteral("zel::TfrmCercaDestinatari"));
  EXPECT_EQ(shown[5].texts["lblMemory"], QStringLiteral("anagrafica"));
  for (const Captured& c : shown) EXPECT_TRUE(c.dialog.isNull()) << c.className.toStdString();
  // The checks hand nothing back.
  EXPECT_EQ(edit("txtIban")->text(), QStringLiteral("  IT60X0542811101000000123456 "));
  EXPECT_TRUE(fake.messages.isEmpty());
}

// The check commands are pictures, which take no focus: when the checker
// closes, the field it checked has the keyboard again.
TEST_F(ClientCardHandOver, AfterACheckItsFieldHasTheFocusAgain) {
  const std::pair<QWidget*, QLineEdit*> checks[] = {{command("chkCodFisc"), edit("txtCodFisc")},
                                                    {command("chkIva"), edit("txtIva")},
                                                    {command("chkNumCarta"), edit("txtCarta")},
                                                    {command("chkIban"), edit("txtIban")}};
  flow.onModal = [](QDialog& d) {
    d.show();
    QApplication::setActiveWindow(&d);
    d.findChild<QLineEdit*>()->setFocus();
    d.close();
    return 0;
  };
  for (const auto& [command, field] : checks) {
    edit("txtCodice")->setFocus();
    click(command);
    QCoreApplication::processEvents();  // the activation arrives as an event
    EXPECT_EQ(QApplication::activeWindow(), card.get());
    EXPECT_EQ(QApplication::focusWidget(), field) << field->objectName().toStdString();
  }
}

TEST_F(ClientCardHandOver, ExcelExportUsesTheSingleExportWindow) {
  TfrmEsportaDes exportWindow;
  test::FakeNavigation windows;
  windows.set(WindowId::ClientExport, &exportWindow);
  click(command("cmdExcel"));
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0].dialog.data(), &exportWindow);  // shown, not created anew
}

TEST_F(ClientCard, HelpShowsTheClientCardTopic) {
  click(command("cmdGuida"));
  ASSERT_EQ(flow.helpShown.size(), 1);
  const HelpTopic& topic = flow.helpShown.first();
  EXPECT_EQ(topic.title, QStringLiteral("Gestione anagrafica clienti"));
  EXPECT_TRUE(topic.body().startsWith(QStringLiteral("Zelvano mette a disposizione un database")));
  EXPECT_EQ(topic.paragraphs.size(), 6);
}

TEST_F(ClientCard, CommandsTellWhatTheyDoAndBackgroundsClearIt) {
  const std::pair<QWidget*, const char*> texts[] = {
      {command("cmdSalva"),
       " Salva in archivio i dati relativi alla scheda corrente oppure aggiorna la scheda esistente."},
      {command("imgUltimo"), " Visualizza l'ultima scheda in archivio"},
      {command("chkIban"), " Controlla le coordinate bancarie IBAN."},
      {command("imgEmail"), " Invia un messaggio e-mail all'indirizzo indicato."},
  };
  QWidget* backgrounds[] = {card.get(), card->container(), control<QGroupBox>("grpFrecce"),
                            control<QFrame>("panRiquadro05")};
  for (size_t i = 0; i < std::size(texts); ++i) {
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(texts[i].first, &enter);
    EXPECT_EQ(label("panInfo")->text(), QString::fromUtf8(texts[i].second));
    QCoreApplication::sendEvent(backgrounds[i], &enter);
    EXPECT_TRUE(label("panInfo")->text().isEmpty()) << backgrounds[i]->objectName().toStdString();
  }
}

TEST_F(ClientCard, ControlsAndCaptionsFitTheirPanelsWithoutOverlapping) {
  for (QFrame* panel :
       {control<QFrame>("panRiquadro01"), control<QFrame>("panRiquadro02"), control<QFrame>("panRiquadro03"),
        control<QFrame>("panRiquadro04"), control<QFrame>("panRiquadro05"), control<QFrame>("panRiquadro06")}) {
    const QList<QWidget*> children = panel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    QList<QWidget*> placed;
    for (QWidget* w : children)
      if (!w->isHidden() && !w->inherits("QScrollBar") && w->parentWidget() == panel) placed.append(w);
    for (QWidget* w : placed) {
      const std::string name = panel->objectName().toStdString() + "/" + w->objectName().toStdString();
      EXPECT_TRUE(panel->rect().adjusted(2, 2, -2, -2).contains(w->geometry())) << name;
      if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty()) {
        EXPECT_LE(l->sizeHint().width(), l->width()) << name << " caption cut";
      }
      for (QWidget* other : placed) {
        if (other != w) {
          EXPECT_FALSE(w->geometry().intersects(other->geometry()))
              << name << " overlaps " << other->objectName().toStdString();
        }
      }
    }
  }
  // Each data control carries its caption.
  for (QWidget* c : card->dataControls()) {
    const auto* cap = card->findChild<QLabel*>(QStringLiteral("lbl") + c->objectName().mid(3));
    ASSERT_NE(cap, nullptr) << c->objectName().toStdString();
    EXPECT_EQ(cap->buddy(), c);
  }
  EXPECT_EQ(card->findChild<QLabel*>(QStringLiteral("lblPersona"))->text(),
            QStringLiteral("Cliente (persona o azienda):"));
}

}  // namespace
}  // namespace zel
