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
    label("lblFile")->setText(pathToQ(folder.file("Rossi.for")));
    sheet.show();
    QApplication::setActiveWindow(&sheet);
    QCoreApplication::processEvents();
    QTest::keyClicks(edit("txtProdotto"), QStringLiteral("Vite"));
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
  // The sheet's controls, by name.
  QLineEdit* edit(const char* name) const { return test::edit(&sheet, name); }
  QLabel* label(const char* name) const { return test::label(&sheet, name); }
  ClickLabel* command(const char* name) const { return test::clickLabel(&sheet, name); }
};

TEST_F(SheetInput, APasteTheKeysWouldRefuseLeavesTheBoxAsItWas) {
  QApplication::clipboard()->setText(QStringLiteral("-2"));
  edit("txtQuantita")->setFocus();
  edit("txtQuantita")->selectAll();
  QTest::keyClick(edit("txtQuantita"), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit("txtQuantita")->text(), "1");
  edit("txtPrezzo")->selectAll();
  edit("txtPrezzo")->paste();  // as the context menu does
  EXPECT_EQ(edit("txtPrezzo")->text(), "0,00");

  QApplication::clipboard()->setText(QStringLiteral("9,99"));
  edit("txtPrezzo")->selectAll();
  edit("txtPrezzo")->paste();
  EXPECT_EQ(edit("txtPrezzo")->text(), "9,99");

  QTest::mouseClick(command("cmdSalva"), Qt::LeftButton);
  ASSERT_EQ(stored().size(), 1u);
  EXPECT_EQ(stored()[0][supply::Quantita], "1");
  EXPECT_EQ(stored()[0][supply::Importo], "9,99");
}

TEST_F(SheetInput, AnAmountTooLargeForItsFieldIsNeitherStoredNorReset) {
  type(edit("txtQuantita"), QStringLiteral("300000009"));
  type(edit("txtPrezzo"), QStringLiteral("300000009"));
  fake.clear();
  QTest::mouseClick(command("cmdSalva"), Qt::LeftButton);

  EXPECT_TRUE(stored().empty());
  ASSERT_EQ(fake.messages.size(), 1);  // no success box after the refusal
  EXPECT_TRUE(fake.last().plain);
  EXPECT_TRUE(fake.last().text.startsWith(QStringLiteral("Attenzione: valori non validi.")));
  EXPECT_EQ(edit("txtQuantita")->text(), "300000009");
  EXPECT_EQ(edit("txtPrezzo")->text(), "300000009");
  EXPECT_TRUE(label("lblPosizione")->text().isEmpty());
}

}  // namespace
}  // namespace zel
