// The four identifier check windows, clicked through with the services fake:
// when "Controlla" comes alive, which keys are refused, which result box
// appears and whether the window is gone afterwards. The checks and their
// texts are tested in the core.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "checks/carta.h"
#include "checks/codfisc.h"
#include "checks/iban.h"
#include "checks/iva.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"

namespace zel {
namespace {

const QString kDigitsOnly = QStringLiteral("Attenzione: carattere non valido. Digitare solo valori numerici.");

class CheckWindows : public ::testing::Test {
 protected:
  // Shows the window as check() would, active, with the focus in its box.
  static void open(CheckWindow& window, QLineEdit* box) {
    window.show();
    QApplication::setActiveWindow(&window);
    box->setFocus();
    QCoreApplication::processEvents();
  }
  // Types key by key (QTest::keyClicks takes only ASCII).
  static void type(QLineEdit* box, const QString& text) {
    for (const QChar ch : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(box, &press);
    }
  }
  static void enter(QLineEdit* box) { QTest::keyClick(box, Qt::Key_Return); }

  void expectBox(const char* title, MsgIcon icon) {
    ASSERT_FALSE(fake.messages.isEmpty());
    EXPECT_FALSE(fake.last().plain);
    EXPECT_EQ(fake.last().title, QString::fromUtf8(title));
    EXPECT_EQ(fake.last().icon, icon);
  }

  test::FakeServices fake;
  test::FakeFlow flow;
};

TEST_F(CheckWindows, CodFiscUpperCasesAndChecksOnlyAFullCode) {
  TfrmCodFisc w;
  QLineEdit* const box = test::edit(&w, "txtCodice");
  QPushButton* const button = test::button(&w, "cmdCodFisc");
  open(w, box);
  type(box, QStringLiteral("rssmra85t10a562"));
  EXPECT_EQ(box->text(), QStringLiteral("RSSMRA85T10A562"));
  EXPECT_FALSE(button->isEnabled());
  enter(box);
  EXPECT_TRUE(fake.messages.isEmpty());
  type(box, QStringLiteral("s"));
  EXPECT_TRUE(button->isEnabled());
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_FALSE(button->isEnabled());
  type(box, QStringLiteral("sx"));  // the box takes 16 characters
  EXPECT_EQ(box->text(), QStringLiteral("RSSMRA85T10A562S"));

  enter(box);
  ASSERT_EQ(fake.messages.size(), 1);
  expectBox("Risultato controllo codice fiscale", MsgIcon::Information);
  EXPECT_TRUE(fake.last().text.endsWith(QStringLiteral("VALIDO.")));
  EXPECT_FALSE(w.isVisible());

  // Turned into '?' the Ā would be worth what the A it replaces is worth
  // here, and the code would pass: it has 16 characters and is not valid.
  TfrmCodFisc foreign;
  QLineEdit* const foreignBox = test::edit(&foreign, "txtCodice");
  QPushButton* const foreignButton = test::button(&foreign, "cmdCodFisc");
  open(foreign, foreignBox);
  foreignBox->setText(QStringLiteral("RSSMRA85T10Ā562S"));
  foreignButton->setFocus();
  QTest::mouseClick(foreignButton, Qt::LeftButton);
  expectBox("Risultato controllo codice fiscale", MsgIcon::Warning);
  EXPECT_TRUE(fake.last().text.endsWith(QStringLiteral("ERRATO.")));
  EXPECT_FALSE(foreign.isVisible());
}

TEST_F(CheckWindows, IvaTakesDigitsAndNamesTheOffice) {
  TfrmIva w;
  QLineEdit* const box = test::edit(&w, "txtCodice");
  QPushButton* const button = test::button(&w, "cmdPartitaIva");
  open(w, box);
  type(box, QStringLiteral("1234567096"));
  EXPECT_FALSE(button->isEnabled());
  type(box, QStringLiteral("a"));
  EXPECT_EQ(fake.texts(), QStringList{kDigitsOnly});
  EXPECT_TRUE(fake.last().plain);
  EXPECT_EQ(box->text(), QStringLiteral("1234567096"));
  type(box, QStringLiteral("7"));
  EXPECT_TRUE(button->isEnabled());

  enter(box);
  ASSERT_EQ(fake.messages.size(), 2);
  EXPECT_TRUE(fake.last().plain);
  EXPECT_TRUE(fake.last().text.endsWith(QStringLiteral("del Comune di Monza (Milano 2).")));
  EXPECT_FALSE(w.isVisible());

  // A stored text with a letter arrives unfiltered and is checked, not refused.
  TfrmIva stored;
  QLineEdit* const storedBox = test::edit(&stored, "txtCodice");
  QPushButton* const storedButton = test::button(&stored, "cmdPartitaIva");
  open(stored, storedBox);
  storedBox->setText(QStringLiteral("1234567096x"));
  QTest::mouseClick(storedButton, Qt::LeftButton);
  expectBox("Risultato controllo partita IVA", MsgIcon::Warning);
  EXPECT_FALSE(stored.isVisible());
}

TEST_F(CheckWindows, RelabelledIvaKeepsANumericTaxCodeWholeAndRefusesIt) {
  TfrmIva w;
  QLineEdit* const box = test::edit(&w, "txtCodice");
  QPushButton* const button = test::button(&w, "cmdPartitaIva");
  w.relabelForNumericTaxCode();
  flow.onModal = [&](QDialog&) {
    open(w, box);
    // Cut to eleven digits, the code would be checked as the VAT number
    // 12345670967, which is valid.
    EXPECT_EQ(box->text(), QStringLiteral("1234567096712345"));
    EXPECT_TRUE(button->isEnabled());
    type(box, QStringLiteral("6"));  // no longer than handed over
    enter(box);
    EXPECT_TRUE(fake.messages.isEmpty()) << "Enter presses Controlla at 11 characters only";
    QTest::mouseClick(button, Qt::LeftButton);
    return 0;
  };
  w.check(QStringLiteral("1234567096712345"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_TRUE(fake.last().plain);
  EXPECT_TRUE(fake.last().text.contains(QStringLiteral("11 caratteri")));
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(QApplication::focusWidget(), box);
  EXPECT_EQ(w.windowTitle(), QStringLiteral(" Controllo codice fiscale numerico / partita IVA"));

  // Shortened to eleven digits it can grow no more, and is checked.
  for (int i = 0; i < 5; ++i) QTest::keyClick(box, Qt::Key_Backspace);
  type(box, QStringLiteral("9"));
  EXPECT_EQ(box->text(), QStringLiteral("12345670967"));
  enter(box);
  EXPECT_TRUE(fake.last().text.endsWith(QStringLiteral("Monza (Milano 2).")));
  EXPECT_FALSE(w.isVisible());
}

TEST_F(CheckWindows, CartaTakesDigitsAndNamesTheNetwork) {
  TfrmCarta w;
  QLineEdit* const box = test::edit(&w, "txtNumero");
  QPushButton* const button = test::button(&w, "cmdControllo");
  open(w, box);
  type(box, QStringLiteral("411111111111"));
  EXPECT_FALSE(button->isEnabled());
  enter(box);
  type(box, QStringLiteral(" -"));
  EXPECT_EQ(fake.texts(), (QStringList{kDigitsOnly, kDigitsOnly}));
  type(box, QStringLiteral("1111"));
  EXPECT_TRUE(button->isEnabled());
  enter(box);
  ASSERT_EQ(fake.messages.size(), 3);
  EXPECT_TRUE(fake.last().plain);
  EXPECT_TRUE(fake.last().text.endsWith(QStringLiteral("del tipo Visa.")));
  EXPECT_FALSE(w.isVisible());
}

TEST_F(CheckWindows, IbanUpperCasesAndChecksFrom27Characters) {
  TfrmIban w;
  QLineEdit* const box = test::edit(&w, "txtCodice");
  QPushButton* const button = test::button(&w, "cmdCheckIban");
  open(w, box);
  type(box, QStringLiteral("it60x054281110100000012345"));
  EXPECT_EQ(box->text(), QStringLiteral("IT60X054281110100000012345"));
  EXPECT_FALSE(button->isEnabled());
  enter(box);
  EXPECT_TRUE(fake.messages.isEmpty());
  EXPECT_TRUE(w.isVisible());
  type(box, QStringLiteral("6"));
  EXPECT_TRUE(button->isEnabled());
  enter(box);
  ASSERT_EQ(fake.messages.size(), 1);
  expectBox("Risultato controllo codice IBAN", MsgIcon::Information);
  EXPECT_FALSE(w.isVisible());
}

}  // namespace
}  // namespace zel
