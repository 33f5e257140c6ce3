// The create-supply and open-supply windows driven as a user would: typing,
// clicking, the messages shown, the files left in the program folder and
// the hand-over into the supply sheet.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "app/avvio.h"
#include "app/forms.h"
#include "help/helptopics.h"
#include "store/recordfile.h"
#include "supplies/accedi.h"
#include "supplies/crea.h"
#include "supplies/forniture.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"

namespace fs = std::filesystem;
using zel::MsgButtons;
using zel::MsgIcon;
using zel::forms;

namespace {

void touch(const fs::path& file, const std::string& content = {}) {
  std::ofstream out(file, std::ios::binary);
  out << content;
}

void activate(QWidget* w) {
  w->show();
  QApplication::setActiveWindow(w);
  QCoreApplication::processEvents();
}

QStringList listed(const QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

void select(QListWidget* list, const QString& text) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << text.toStdString();
  list->setCurrentItem(found.first());
  ASSERT_TRUE(found.first()->isSelected());
}

// Every window of the program, in a program folder of the test's own.
class SupplyWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    zel::createForms();
    crea = forms().frmCrea;
    accedi = forms().frmAccedi;
    sheet = forms().frmForniture;
    home = zel::MainScreen::homeScreen();
  }
  void TearDown() override { zel::destroyForms(); }

  zel::test::FakeServices fake;
  zel::test::TempProgramFolder folder;
  zel::TfrmCrea* crea = nullptr;
  zel::TfrmAccedi* accedi = nullptr;
  zel::TfrmForniture* sheet = nullptr;
  QWidget* home = nullptr;
  zel::test::FakeFlow flow;
  QStringList helpTitles() const {
    QStringList titles;
    for (const zel::HelpTopic& t : flow.helpShown) titles << t.title;
    return titles;
  }
};

const QString kRefused = QStringLiteral("Salvataggio fornitura non applicabile");

TEST_F(SupplyWindows, CreatingASupplyMakesItsEmptyFileAndGoesBackHome) {
  activate(crea);
  EXPECT_EQ(crea->windowTitle(), QStringLiteral(" Zelvano © - Creazione nuova fornitura"));
  EXPECT_EQ(QApplication::focusWidget(), zel::test::edit(crea, "txtClasse"));
  EXPECT_EQ(zel::fieldColour(zel::test::edit(crea, "txtClasse")), zel::kFocusYellow);

  QTest::keyClicks(zel::test::edit(crea, "txtClasse"), QStringLiteral("  Rossi  "));
  QTest::keyClick(zel::test::edit(crea, "txtClasse"), Qt::Key_Return);  // Enter triggers nothing
  EXPECT_TRUE(fake.messages.isEmpty());
  EXPECT_FALSE(fs::exists(folder.file("Rossi.for")));

  QTest::mouseClick(zel::test::clickLabel(crea, "imgApplica"), Qt::LeftButton);
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().title, QStringLiteral("Salvataggio fornitura effettuato"));
  EXPECT_EQ(fake.last().icon, MsgIcon::Information);
  EXPECT_TRUE(fake.last().text.startsWith(QStringLiteral("Il file relativo alla nuova fornitura è stato creato")));
  ASSERT_TRUE(fs::exists(folder.file("Rossi.for")));
  EXPECT_EQ(fs::file_size(folder.file("Rossi.for")), 0u);
  EXPECT_FALSE(crea->isVisible());
  EXPECT_TRUE(home->isVisible());

  // Shown again, the box is empty.
  activate(crea);
  EXPECT_TRUE(zel::test::edit(crea, "txtClasse")->text().isEmpty());
}

TEST_F(SupplyWindows, RefusedNamesKeepTheWindowOpenAndCreateNothing) {
  touch(folder.file("Rossi.for"), "dati");
  activate(crea);

  QTest::keyClicks(zel::test::edit(crea, "txtClasse"), QStringLiteral("   "));
  QTest::mouseClick(zel::test::clickLabel(crea, "imgApplica"), Qt::LeftButton);
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().title, kRefused);
  EXPECT_EQ(fake.last().icon, MsgIcon::Warning);
  EXPECT_TRUE(fake.last().text.startsWith(QStringLiteral("Impossibile creare la nuova fornitura")));
  EXPECT_EQ(QApplication::focusWidget(), zel::test::edit(crea, "txtClasse"));

  zel::test::edit(crea, "txtClasse")->setText(QStringLiteral("rossi"));
  QTest::mouseClick(zel::test::clickLabel(crea, "imgApplica"), Qt::LeftButton);
  ASSERT_EQ(fake.messages.size(), 2);
  EXPECT_EQ(fake.last().title, kRefused);
  EXPECT_TRUE(fake.last().text.startsWith(QStringLiteral("Il nome della fornitura indicato già esiste in archivio.")));
  EXPECT_TRUE(crea->isVisible());
  EXPECT_EQ(zel::test::edit(crea, "txtClasse")->text(), QStringLiteral("rossi"));

  // 250 accented letters fit the box but not a file name.
  zel::test::edit(crea, "txtClasse")->setText(QString(250, QChar(0xE0)));
  QTest::mouseClick(zel::test::clickLabel(crea, "imgApplica"), Qt::LeftButton);
  ASSERT_EQ(fake.messages.size(), 3);
  EXPECT_EQ(fake.last().title, kRefused);
  EXPECT_TRUE(fake.last().text.contains(QStringLiteral("troppo lungo")));

  zel::test::edit(crea, "txtClasse")->setText(QStringLiteral("/:/"));
  QTest::mouseClick(zel::test::clickLabel(crea, "imgApplica"), Qt::LeftButton);
  ASSERT_EQ(fake.messages.size(), 4);
  EXPECT_TRUE(fake.last().text.startsWith(QStringLiteral("Impossibile creare la nuova fornitura")));

  EXPECT_TRUE(crea->isVisible());
  std::vector<std::string> files;
  for (const auto& e : fs::directory_iterator(folder.path())) files.push_back(e.path().filename().string());
  EXPECT_EQ(files, std::vector<std::string>{"Rossi.for"});
  EXPECT_EQ(fs::file_size(folder.file("Rossi.for")), 4u);
}

TEST_F(SupplyWindows, ForbiddenCharactersAreNotTypedAndPastedOnesBecomeSpaces) {
  activate(crea);
  QTest::keyClicks(zel::test::edit(crea, "txtClasse"), QStringLiteral("a/b:c*d?e\"f<g>h|i\\j"));
  EXPECT_EQ(zel::test::edit(crea, "txtClasse")->text(), QStringLiteral("abcdefghij"));
  EXPECT_TRUE(fake.messages.isEmpty());  // refused silently

  zel::test::edit(crea, "txtClasse")->setText(QStringLiteral("a/b"));  // as pasted
  QTest::mouseClick(zel::test::clickLabel(crea, "imgApplica"), Qt::LeftButton);
  EXPECT_TRUE(fs::exists(folder.file("a b.for")));
  EXPECT_EQ(zel::test::edit(crea, "txtClasse")->text(), QStringLiteral("a b"));
}

TEST_F(SupplyWindows, CancelHelpAndFocusColoursOfTheCreateWindow) {
  activate(crea);
  crea->setFocus();  // away from the box
  QCoreApplication::processEvents();
  EXPECT_EQ(zel::fieldColour(zel::test::edit(crea, "txtClasse")), QColor(Qt::white));

  QTest::mouseClick(zel::test::label(crea, "imgGuida"), Qt::LeftButton);
  EXPECT_EQ(helpTitles(), QStringList{zel::help::createSupplyTopic().title});
  EXPECT_EQ(zel::test::label(crea, "imgGuida")->toolTip(), QStringLiteral(" Guida "));

  zel::test::edit(crea, "txtClasse")->setText(QStringLiteral("Verdi"));
  QTest::mouseClick(zel::test::clickLabel(crea, "imgAnnulla"), Qt::LeftButton);
  EXPECT_FALSE(crea->isVisible());
  EXPECT_TRUE(home->isVisible());
  EXPECT_TRUE(fs::is_empty(folder.path()));
  EXPECT_TRUE(fake.messages.isEmpty());
}

TEST_F(SupplyWindows, TheOpenWindowListsEverySupplyAlphabetically) {
  touch(folder.file("beta.for"));
  touch(folder.file("Alfa.for"));
  touch(folder.file("gamma.FOR"));
  touch(folder.file("Anagrafica.pro"));
  fs::create_directory(folder.file("Cartella.for"));
  activate(accedi);
  EXPECT_EQ(accedi->windowTitle(), QStringLiteral(" Zelvano © - Apri fornitura esistente"));
  EXPECT_EQ(listed(zel::test::named<QListWidget>(accedi, "lstClassi")),
            (QStringList{QStringLiteral("Alfa.for"), QStringLiteral("beta.for"), QStringLiteral("gamma.FOR")}));
  EXPECT_EQ(zel::test::label(accedi, "lblTotale")->text(), QStringLiteral("Ci sono 3 forniture."));
  EXPECT_TRUE(zel::test::named<QListWidget>(accedi, "lstClassi")->selectedItems().isEmpty());
  EXPECT_EQ(zel::test::label(accedi, "lblMemory")->text(), QStringLiteral("avvio"));

  QTest::mouseClick(zel::test::label(accedi, "imgGuida"), Qt::LeftButton);
  EXPECT_EQ(helpTitles(), QStringList{zel::help::openSupplyTopic().title});
}

TEST_F(SupplyWindows, OpeningWithoutASelectionOnlyWarns) {
  activate(accedi);
  EXPECT_EQ(zel::test::label(accedi, "lblTotale")->text(), QStringLiteral("Ci sono 0 forniture."));
  QTest::mouseClick(zel::test::clickLabel(accedi, "imgApri"), Qt::LeftButton);
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().title, QStringLiteral("Attenzione: nessuna fornitura selezionata"));
  EXPECT_EQ(fake.last().icon, MsgIcon::Warning);
  EXPECT_TRUE(accedi->isVisible());
  EXPECT_FALSE(sheet->isVisible());

  accedi->lstClassiDblClick();  // nothing selected: nothing at all
  EXPECT_EQ(fake.messages.size(), 1);
  EXPECT_TRUE(accedi->isVisible());
}

TEST_F(SupplyWindows, OpeningASupplyHandsItsFileAndNameToTheSheet) {
  touch(folder.file("Rossi.for"));
  touch(folder.file("Verdi marzo.for"));
  activate(accedi);
  select(zel::test::named<QListWidget>(accedi, "lstClassi"), QStringLiteral("Verdi marzo.for"));
  QTest::mouseClick(zel::test::clickLabel(accedi, "imgApri"), Qt::LeftButton);

  EXPECT_EQ(sheet->supplyFile(), zel::pathToQ(folder.path() / "Verdi marzo.for"));
  EXPECT_EQ(sheet->supplyName(), QStringLiteral("Verdi marzo"));
  EXPECT_TRUE(sheet->isVisible());
  EXPECT_FALSE(accedi->isVisible());
  EXPECT_FALSE(home->isVisible());
  EXPECT_EQ(zel::test::label(accedi, "lblMemory")->text(), QStringLiteral("avvio"));

  // Double-clicking an entry opens it as well; the list is fresh at every showing.
  sheet->hide();
  activate(accedi);
  EXPECT_TRUE(zel::test::named<QListWidget>(accedi, "lstClassi")->selectedItems().isEmpty());
  const auto rossi =
      zel::test::named<QListWidget>(accedi, "lstClassi")->findItems(QStringLiteral("Rossi.for"), Qt::MatchExactly);
  ASSERT_EQ(rossi.size(), 1);
  const QRect where = zel::test::named<QListWidget>(accedi, "lstClassi")->visualItemRect(rossi.first());
  QTest::mouseClick(zel::test::named<QListWidget>(accedi, "lstClassi")->viewport(), Qt::LeftButton, {}, where.center());
  QTest::mouseDClick(zel::test::named<QListWidget>(accedi, "lstClassi")->viewport(), Qt::LeftButton, {},
                     where.center());
  EXPECT_EQ(sheet->supplyFile(), zel::pathToQ(folder.path() / "Rossi.for"));
  EXPECT_EQ(sheet->supplyName(), QStringLiteral("Rossi"));
  EXPECT_TRUE(sheet->isVisible());
  EXPECT_TRUE(fake.messages.isEmpty()) << fake.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(SupplyWindows, ClosingOrCancellingAfterASelectionGoesBackHome) {
  touch(folder.file("Rossi.for"));
  activate(accedi);
  select(zel::test::named<QListWidget>(accedi, "lstClassi"), QStringLiteral("Rossi.for"));
  accedi->close();  // the window's close box
  EXPECT_TRUE(home->isVisible());
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_TRUE(sheet->supplyFile().isEmpty());

  activate(accedi);
  select(zel::test::named<QListWidget>(accedi, "lstClassi"), QStringLiteral("Rossi.for"));
  QTest::mouseClick(zel::test::clickLabel(accedi, "imgAnnulla"), Qt::LeftButton);
  EXPECT_FALSE(accedi->isVisible());
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_TRUE(sheet->supplyName().isEmpty());
}

TEST_F(SupplyWindows, DeletingASupplyAsksFirstAndRefreshesTheList) {
  touch(folder.file("Alfa.for"));
  touch(folder.file("beta.for"), "dati");
  touch(folder.file("gamma.for"));
  activate(accedi);

  QTest::mouseClick(zel::test::clickLabel(accedi, "btnCancella"), Qt::LeftButton);
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().title, QStringLiteral("Nessuna fornitura selezionata"));
  EXPECT_EQ(zel::test::clickLabel(accedi, "btnCancella")->toolTip(), QStringLiteral(" Elimina fornitura selezionata "));

  select(zel::test::named<QListWidget>(accedi, "lstClassi"), QStringLiteral("beta.for"));
  fake.answers.push_back(zel::MsgAnswer::No);
  QTest::mouseClick(zel::test::clickLabel(accedi, "btnCancella"), Qt::LeftButton);
  ASSERT_EQ(fake.messages.size(), 2);
  EXPECT_EQ(fake.last().title, QStringLiteral("Conferma cancellazione fornitura"));
  EXPECT_EQ(fake.last().icon, MsgIcon::Question);
  EXPECT_EQ(fake.last().buttons, MsgButtons::YesNo);
  EXPECT_TRUE(fs::exists(folder.file("beta.for")));
  EXPECT_EQ(zel::test::named<QListWidget>(accedi, "lstClassi")->count(), 3);

  fake.answers.push_back(zel::MsgAnswer::Yes);
  QTest::mouseClick(zel::test::clickLabel(accedi, "btnCancella"), Qt::LeftButton);
  EXPECT_EQ(fake.messages.size(), 3);  // no message after the deletion
  EXPECT_FALSE(fs::exists(folder.file("beta.for")));
  EXPECT_EQ(listed(zel::test::named<QListWidget>(accedi, "lstClassi")),
            (QStringList{QStringLiteral("Alfa.for"), QStringLiteral("gamma.for")}));
  EXPECT_EQ(zel::test::label(accedi, "lblTotale")->text(), QStringLiteral("Ci sono 2 forniture."));
  EXPECT_TRUE(zel::test::named<QListWidget>(accedi, "lstClassi")->selectedItems().isEmpty());
  EXPECT_TRUE(accedi->isVisible());
  EXPECT_EQ(zel::test::label(accedi, "lblMemory")->text(), QStringLiteral("avvio"));
}

TEST_F(SupplyWindows, ASupplyInUseAtAnotherDeskIsNotDeletedAndTheWindowSaysSo) {
  touch(folder.file("Alfa.for"), "dati");
  activate(accedi);
  select(zel::test::named<QListWidget>(accedi, "lstClassi"), QStringLiteral("Alfa.for"));
  const auto wait = zel::setLockWait(std::chrono::milliseconds(50));
  {
    auto held = zel::RecordFile::openExisting(folder.file("Alfa.for"), zel::supplyLayout());
    fake.answers.push_back(zel::MsgAnswer::Yes);
    QTest::mouseClick(zel::test::clickLabel(accedi, "btnCancella"), Qt::LeftButton);
  }
  zel::setLockWait(wait);
  EXPECT_EQ(fake.last().text, zel::archiveBusyMessage());
  EXPECT_TRUE(fs::exists(folder.file("Alfa.for")));
  EXPECT_EQ(listed(zel::test::named<QListWidget>(accedi, "lstClassi")), QStringList{QStringLiteral("Alfa.for")});
}

}  // namespace
