// What the three card screens share, checked once for each of them: the
// client card, the product card and the supply sheet are driven through
// their own controls, found by name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <functional>
#include <memory>

#include "clients/destinatari.h"
#include "products/materiali.h"
#include "store/archives.h"
#include "store/recordfile.h"
#include "supplies/forniture.h"
#include "support/files.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"
#include "ui/attachwindow.h"
#include "ui/behaviour.h"
#include "ui/cardbinding.h"
#include "ui/kit.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

struct CardCase {
  const char* name;
  const Layout& (*layout)();
  std::function<std::unique_ptr<CardScreen>(const fs::path& folder)> make;
  std::function<fs::path(const fs::path& folder)> archive;
  const char* keyField;  // the mandatory field every case fills
  const char* missingKey;  // what a save without it says
  MsgIcon missingKeyIcon;
  const char* save;
  const char* first;
  const char* previous;
  const char* next;
  const char* last;
  const char* newCard;
  const char* attach;  // opens the attachments window
  const char* folder;  // opens the folder window
  const char* remove;  // deletes the card shown; none on the product card
  const char* temp;    // the copy a deletion writes, in the program folder
  bool archiveInProgramFolder;  // the supply sheet names its own file
};

std::ostream& operator<<(std::ostream& out, const CardCase& c) { return out << c.name; }

const CardCase kCards[] = {
    {"client", clientLayout, [](const fs::path&) { return std::make_unique<TfrmDestinatari>(); },
     [](const fs::path& f) { return f / kClientArchive; }, "txtCodice",
     "Per salvare la scheda è necessario indicare il codice identificativo della persona o azienda.", MsgIcon::Warning,
     "cmdSalva", "imgPrimo", "imgIndietro", "imgAvanti", "imgUltimo", "cmdNuovo", "cmdAllega", "cmdAssocia",
     "cmdElimina", kClientTemp, true},
    {"product", productLayout, [](const fs::path&) { return std::make_unique<TfrmMateriali>(); },
     [](const fs::path& f) { return f / kProductArchive; }, "txtCodice",
     "Per salvare la scheda è necessario indicare il codice articolo.", MsgIcon::Information, "imgSalva", "imgPrimo",
     "imgIndietro", "imgAvanti", "imgUltimo", "imgNuovo", "imgFile", "imgCartella", nullptr, nullptr, true},
    {"supply", supplyLayout,
     [](const fs::path& f) {
       RecordFile::openForUpdate(f / "Prova.for", supplyLayout()).close();  // made by the create window
       auto sheet = std::make_unique<TfrmForniture>();
       sheet->openSupply(pathToQ(f / "Prova.for"), QStringLiteral("Prova"));
       return sheet;
     },
     [](const fs::path& f) { return f / "Prova.for"; }, "txtProdotto",
     "Per salvare la scheda è necessario indicare la descrizione del prodotto o servizio fornito.", MsgIcon::Warning,
     "cmdSalva", "imgPrimo", "imgIndietro", "imgAvanti", "imgUltimo", "cmdNuovo", "cmdAllega", "cmdAssocia",
     "cmdElimina", kSupplyTemp, false},
};

class CardScreens : public ::testing::TestWithParam<CardCase> {
 protected:
  void SetUp() override {
    card = GetParam().make(folder.path());
    test::showActive(card.get());
    fake.clear();
  }

  QWidget* control(const char* name) const { return test::named(card.get(), name); }
  void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }
  // Fills every mandatory field of the three cards that exist on this one.
  void fillMandatory(const QString& key) {
    setControlText(control(GetParam().keyField), key);
    if (auto* persona = card->findChild<QLineEdit*>(QStringLiteral("txtPersona"))) persona->setText("Persona");
  }
  fs::path archive() const { return GetParam().archive(folder.path()); }
  size_t recordCount() const {
    return fs::exists(archive()) ? fs::file_size(archive()) / GetParam().layout().recordSize() : 0;
  }
  QString keyText() const { return controlText(control(GetParam().keyField)); }
  // What every field of the card shows, attachments included.
  QStringList shownTexts() const {
    QStringList texts;
    for (size_t i = 0; i < GetParam().layout().fieldCount(); ++i) texts << controlText(card->binding().control(i));
    return texts;
  }

  test::FakeServices fake;
  test::FakeFlow flow;
  test::TempProgramFolder folder;
  std::unique_ptr<CardScreen> card;
};

TEST_P(CardScreens, EveryBoxTakesAsManyCharactersAsItsFieldHolds) {
  const Layout& layout = GetParam().layout();
  for (const FieldDef& f : layout.fields()) {
    if (f.attachment) continue;
    auto* box = card->findChild<QLineEdit*>(controlName(f));
    if (!box) continue;  // the notes box and the payment drop-down are no line edits
    EXPECT_EQ(box->maxLength(), f.capacity) << f.name;
  }
}

TEST_P(CardScreens, SaveAppendsThenOverwritesAndTheAttachmentsGoWithTheRecord) {
  fillMandatory(QStringLiteral("K1"));
  card->attachmentFields().file[1]->setText(QStringLiteral(" /dati/b.pdf "));
  card->attachmentFields().folderDescription->setText(QStringLiteral("Progetti"));
  click(GetParam().save);
  ASSERT_EQ(recordCount(), 1u);
  EXPECT_EQ(test::label(card.get(), "lblPosizione")->text(), QStringLiteral("1"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, cardtext::savedInsert());
  EXPECT_EQ(fake.last().title, cardtext::savedInsertTitle());
  EXPECT_EQ(fake.last().icon, MsgIcon::Information);
  EXPECT_FALSE(fake.last().plain);

  setControlText(control(GetParam().keyField), QStringLiteral("K2"));
  click(GetParam().save);
  EXPECT_EQ(recordCount(), 1u);  // the same record, overwritten
  EXPECT_EQ(test::label(card.get(), "lblPosizione")->text(), QStringLiteral("1"));
  EXPECT_EQ(fake.last().text, cardtext::savedUpdate());
  EXPECT_EQ(fake.last().title, cardtext::savedUpdateTitle());

  const Layout& layout = GetParam().layout();
  const Record r = readRecord(archive(), layout, 1);
  EXPECT_EQ(r[layout.indexOf("File02")], "/dati/b.pdf");
  EXPECT_EQ(r[layout.indexOf("CartellaDesc")], "Progetti");
  EXPECT_EQ(r[0], "K2");

  // A new card forgets them; navigating brings them back.
  card->attachmentFields().file[1]->clear();
  click(GetParam().first);
  EXPECT_EQ(card->attachmentFields().file[1]->text(), QStringLiteral("/dati/b.pdf"));
}

TEST_P(CardScreens, AttachedFilesAndFolderGoThroughTheArchiveAndComeBack) {
  const QString longPath = QStringLiteral("/dati/") + QString(294, QLatin1Char('x'));
  const QString accented = QStringLiteral("/dati/città.pdf");
  flow.onModal = [&](QDialog& d) {  // every slot of both windows filled and applied
    auto& w = dynamic_cast<AttachmentSlotsWindow&>(d);
    const QList<AttachmentSlot> items = test::slotsOf(w);
    for (const AttachmentSlot& s : items) {
      fake.nextFile = fake.nextFolder = &s == &items.first() ? longPath : accented;
      s.cmdSfoglia->click();
      s.txtDesc->setText(QStringLiteral("descrizione"));
    }
    test::button(&w, "cmdApplica")->click();
    return w.result();
  };
  click(GetParam().attach);
  click(GetParam().folder);
  fillMandatory(QStringLiteral("K1"));
  click(GetParam().save);
  click(GetParam().newCard);
  ASSERT_TRUE(card->attachmentFields().folder->text().isEmpty());
  click(GetParam().first);

  // A path longer than the field holds would be kept cut and open nothing:
  // it is refused aloud and its slot stays empty.
  EXPECT_EQ(fake.texts().count(tooLongPathMessage()), 2);
  const Layout& layout = GetParam().layout();
  const Record r = readRecord(archive(), layout, 1);
  EXPECT_EQ(r[layout.indexOf("File01")], "");
  EXPECT_EQ(r[layout.indexOf("File03")], "/dati/citt\xE0.pdf");
  const AttachmentFields& fields = card->attachmentFields();
  for (QLabel* l : {fields.file[0], fields.folder}) EXPECT_EQ(l->text(), QString());
  for (QLabel* l : {fields.file[1], fields.file[2]}) EXPECT_EQ(l->text(), accented);
  for (QLabel* l : {fields.description[0], fields.description[1], fields.description[2], fields.folderDescription})
    EXPECT_EQ(l->text(), QStringLiteral("descrizione"));
}

TEST_P(CardScreens, AMissingKeyStopsTheSaveBeforeTheArchiveIsTouched) {
  // Every other box filled: the refusal is about the key alone.
  for (QLineEdit* box : card->findChildren<QLineEdit*>()) box->setText(QStringLiteral("5"));
  fillMandatory(QStringLiteral("   "));
  card->binding().control(1)->setFocus();
  click(GetParam().save);
  EXPECT_FALSE(fs::exists(archive()) && fs::file_size(archive()) > 0);
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, QString::fromUtf8(GetParam().missingKey));
  EXPECT_EQ(fake.last().title, QStringLiteral("Salvataggio scheda non applicabile"));
  EXPECT_EQ(fake.last().icon, GetParam().missingKeyIcon);
  EXPECT_EQ(QApplication::focusWidget(), control(GetParam().keyField));
  EXPECT_TRUE(test::label(card.get(), "lblPosizione")->text().isEmpty());
}

TEST_P(CardScreens, NavigatingAnEmptyArchiveSaysSoAndKeepsTheCard) {
  fillMandatory(QStringLiteral("in corso"));
  for (const char* step : {GetParam().first, GetParam().previous, GetParam().next, GetParam().last}) {
    fake.clear();
    click(step);
    ASSERT_EQ(fake.messages.size(), 1) << step;
    EXPECT_EQ(fake.last().text, cardtext::emptyArchive());
    EXPECT_EQ(fake.last().title, cardtext::emptyArchiveTitle());
    EXPECT_EQ(fake.last().icon, MsgIcon::Information);
  }
  EXPECT_TRUE(fs::exists(archive())) << "the first step creates the archive";
  EXPECT_EQ(fs::file_size(archive()), 0u);
  EXPECT_EQ(keyText(), QStringLiteral("in corso"));
  EXPECT_TRUE(test::label(card.get(), "lblPosizione")->text().isEmpty());
}

TEST_P(CardScreens, AnArchiveThatCannotBeReachedLeavesTheCardAsItWas) {
  // The archive's name taken by a folder: neither saving nor stepping can go on.
  fs::remove(archive());
  fs::create_directory(archive());
  fillMandatory(QStringLiteral("K1"));
  const QStringList shown = shownTexts();
  click(GetParam().save);
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_TRUE(fake.last().plain);
  EXPECT_EQ(fake.last().text, archiveAccessMessage());
  EXPECT_TRUE(test::label(card.get(), "lblPosizione")->text().isEmpty());
  click(GetParam().first);
  EXPECT_EQ(fake.messages.size(), 2);
  EXPECT_EQ(fake.last().text, archiveAccessMessage());
  EXPECT_EQ(shownTexts(), shown);
}

TEST_P(CardScreens, ADeletionThatCannotFinishLeavesTheArchiveByteForByte) {
  if (!GetParam().remove) GTEST_SKIP() << "this card has no deletion";
  for (const char* key : {"K1", "K2"}) {
    click(GetParam().newCard);
    fillMandatory(QString::fromLatin1(key));
    click(GetParam().save);
  }
  click(GetParam().first);
  ASSERT_EQ(test::label(card.get(), "lblPosizione")->text(), QStringLiteral("1"));
  // The deletion's copy cannot be written: its name is taken by a folder.
  fs::create_directory(folder.file(GetParam().temp));
  const auto before = test::readBytes(archive());
  const QStringList shown = shownTexts();
  fake.clear();
  click(GetParam().remove);  // answered Yes
  ASSERT_EQ(fake.messages.size(), 2);
  EXPECT_EQ(fake.last().text, archiveAccessMessage());
  EXPECT_EQ(test::readBytes(archive()), before);
  EXPECT_EQ(test::label(card.get(), "lblPosizione")->text(), QStringLiteral("1"));
  EXPECT_EQ(shownTexts(), shown);
}

TEST_P(CardScreens, AProgramFolderThatIsAPlainFileIsSaidAndLeftAlone) {
  if (!GetParam().archiveInProgramFolder) GTEST_SKIP() << "the sheet's file is named by the sheet";
  fillMandatory(QStringLiteral("K1"));
  click(GetParam().save);
  ASSERT_EQ(test::label(card.get(), "lblPosizione")->text(), QStringLiteral("1"));
  test::TempProgramFolder other;
  const fs::path plainFile = other.file("non-una-cartella");
  test::writeBytes(plainFile, {'x'});
  setProgramFolder(plainFile);
  fake.clear();
  click(GetParam().save);
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, archiveAccessMessage());
  EXPECT_EQ(test::label(card.get(), "lblPosizione")->text(), QStringLiteral("1"));
  EXPECT_EQ(test::readBytes(plainFile), std::vector<uint8_t>{'x'});
}

TEST_P(CardScreens, ARecordChangedAtAnotherDeskIsNotSavedOverAndABusyArchiveIsSaid) {
  const Layout& layout = GetParam().layout();
  fillMandatory(QStringLiteral("K1"));
  click(GetParam().save);
  click(GetParam().newCard);
  fillMandatory(QStringLiteral("K2"));
  click(GetParam().save);
  ASSERT_EQ(test::label(card.get(), "lblPosizione")->text(), QStringLiteral("2"));
  {  // another desk saves its own version of record 2
    Record theirs = readRecord(archive(), layout, 2);
    theirs[0] = "altrove";
    RecordFile::openExisting(archive(), layout).overwrite(2, theirs);
  }
  const auto before = test::readBytes(archive());
  setControlText(control(GetParam().keyField), QStringLiteral("K2 modificata"));
  fake.clear();
  click(GetParam().save);
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, cardChangedMessage());
  EXPECT_EQ(test::readBytes(archive()), before);
  EXPECT_EQ(test::label(card.get(), "lblPosizione")->text(), QStringLiteral("2"));
  EXPECT_EQ(controlText(control(GetParam().keyField)), QStringLiteral("K2 modificata"));

  // Shown again, it saves; while another desk holds the archive, it waits
  // briefly and then says the archive is busy.
  click(GetParam().first);
  click(GetParam().next);
  EXPECT_EQ(controlText(control(GetParam().keyField)), QStringLiteral("altrove"));
  const auto wait = setLockWait(std::chrono::milliseconds(50));
  {
    auto held = RecordFile::openExisting(archive(), layout);
    click(GetParam().save);
    EXPECT_EQ(fake.last().text, archiveBusyMessage());
  }
  setLockWait(wait);
  click(GetParam().save);
  EXPECT_EQ(fake.last().title, cardtext::savedUpdateTitle());
}

INSTANTIATE_TEST_SUITE_P(EachCard, CardScreens, ::testing::ValuesIn(kCards),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zel
