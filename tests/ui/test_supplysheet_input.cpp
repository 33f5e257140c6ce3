// What reaches the supply sheet's number boxes by other ways than typing,
// and amounts too large for their field: nothing wrong may be stored.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "store/recordfile.h"
#include "store/supplyitem.h"
#include "supplies/forniture.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"

namespace zel {
namespace {

class SheetInput : public ::testing::Test {
 protected:
  void SetUp() override {
    MainScreen::setHomeScreen(&home);
    RecordFile::openForUpdate(folder.file("Rossi.for"), supplyLayout()).close();  // made by the create window
    test::label(&sheet, "lblFile")->setText(pathToQ(folder.file("Rossi.for")));
    sheet.show();
    QApplication::setActiveWindow(&sheet);
    QCoreApplication::processEvents();
    QTest::keyClicks(test::edit(&sheet, "txtProdotto"), QStringLiteral("Vite"));
  }
  void TearDown() override { MainScreen::setHomeScreen(nullptr); }

  std::vector<Record> stored() const { return readAllRecords(folder.file("Rossi.for"), supplyLayout()); }
  void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, text);
  }

  test::FakeServices fake;
  test::TempProgramFolder folder;
  QWidget home;
  TfrmForniture sheet;
};

TEST_F(SheetInput, APasteTheKeysWouldRefuseLeavesTheBoxAsItWas) {
  QApplication::clipboard()->setText(QStringLiteral("-2"));
  test::edit(&sheet, "txtQuantita")->setFocus();
  test::edit(&sheet, "txtQuantita")->selectAll();
  QTest::keyClick(test::edit(&sheet, "txtQuantita"), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(test::edit(&sheet, "txtQuantita")->text(), "1");
  test::edit(&sheet, "txtPrezzo")->selectAll();
  test::edit(&sheet, "txtPrezzo")->paste();  // as the context menu does
  EXPECT_EQ(test::edit(&sheet, "txtPrezzo")->text(), "0,00");

  QApplication::clipboard()->setText(QStringLiteral("9,99"));
  test::edit(&sheet, "txtPrezzo")->selectAll();
  test::edit(&sheet, "txtPrezzo")->paste();
  EXPECT_EQ(test::edit(&sheet, "txtPrezzo")->text(), "9,99");

  QTest::mouseClick(test::clickLabel(&sheet, "cmdSalva"), Qt::LeftButton);
  ASSERT_EQ(stored().size(), 1u);
  EXPECT_EQ(stored()[0][supply::Quantita], "1");
  EXPECT_EQ(stored()[0][supply::Importo], "9,99");
}

TEST_F(SheetInput, AnAmountTooLargeForItsFieldIsNeitherStoredNorReset) {
  type(test::edit(&sheet, "txtQuantita"), QStringLiteral("300000009"));
  type(test::edit(&sheet, "txtPrezzo"), QStringLiteral("300000009"));
  fake.clear();
  QTest::mouseClick(test::clickLabel(&sheet, "cmdSalva"), Qt::LeftButton);

  EXPECT_TRUE(stored().empty());
  ASSERT_EQ(fake.messages.size(), 1);  // no success box after the refusal
  EXPECT_TRUE(fake.last().plain);
  EXPECT_TRUE(fake.last().text.startsWith(QStringLiteral("Attenzione: valori non validi.")));
  EXPECT_EQ(test::edit(&sheet, "txtQuantita")->text(), "300000009");
  EXPECT_EQ(test::edit(&sheet, "txtPrezzo")->text(), "300000009");
  EXPECT_TRUE(test::label(&sheet, "lblPosizione")->text().isEmpty());
}

}  // namespace
}  // namespace zel
