// The attachments and folder windows, driven as the user drives them: the six
// variants share one behaviour and differ only in texts.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "attach/allegatides.h"
#include "attach/allegatifor.h"
#include "attach/allegatimat.h"
#include "attach/cartellades.h"
#include "attach/cartellafor.h"
#include "attach/cartellamat.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"

namespace zel {
namespace {

struct Variant {
  const char* name;
  std::unique_ptr<AttachmentSlotsWindow> (*make)(QWidget* card);
};
std::ostream& operator<<(std::ostream& out, const Variant& v) { return out << v.name; }

template <class W>
std::unique_ptr<AttachmentSlotsWindow> make(QWidget* card) { return std::make_unique<W>(card); }

const Variant kVariants[] = {{"AllegatiDes", make<TfrmAllegatiDes>}, {"AllegatiFor", make<TfrmAllegatiFor>},
                             {"AllegatiMat", make<TfrmAllegatiMat>}, {"CartellaDes", make<TfrmCartellaDes>},
                             {"CartellaFor", make<TfrmCartellaFor>}, {"CartellaMat", make<TfrmCartellaMat>}};

class AttachWindows : public ::testing::TestWithParam<Variant> {
 protected:
  void SetUp() override {
    for (QLabel** l : {&fields.file[0], &fields.file[1], &fields.file[2], &fields.description[0],
                       &fields.description[1], &fields.description[2], &fields.folder, &fields.folderDescription})
      *l = new QLabel(&card);
  }
  bool files() const { return QString::fromLatin1(GetParam().name).startsWith(QLatin1String("Allegati")); }
  QLabel* cardPath(int i) const { return files() ? fields.file[i] : fields.folder; }
  QLabel* cardDescription(int i) const { return files() ? fields.description[i] : fields.folderDescription; }
  void willChoose(const QString& path) { (files() ? fake.nextFile : fake.nextFolder) = path; }
  // Opens a new window on the card's fields, shown while `user` acts in it.
  int open(const std::function<void(AttachmentSlotsWindow&)>& user) {
    auto window = GetParam().make(&card);
    flow.onModal = [&](QDialog& d) { d.show(); user(*window); return d.result(); };
    return window->edit(fields);
  }

  QWidget card;
  AttachmentFields fields;
  test::FakeServices fake;
  test::FakeFlow flow;
};

TEST_P(AttachWindows, ChooseOpenAndRemoveAPath) {
  open([&](AttachmentSlotsWindow& w) {
    const QList<AttachmentSlot> items = test::slotsOf(w);
    ASSERT_EQ(items.size(), files() ? 3 : 1);
    for (const AttachmentSlot& s : items) EXPECT_FALSE(s.cmdApri->isEnabled());
    const AttachmentSlot& s = items.last();
    const QString path = QStringLiteral("/home/utente/Città e perché #2 al 100%.pdf");
    willChoose(path);
    QTest::mouseClick(s.cmdSfoglia, Qt::LeftButton);
    EXPECT_TRUE(s.cmdApri->isEnabled());
    EXPECT_FALSE(items.first().cmdApri->isEnabled() && files());
    QTest::mouseClick(s.cmdApri, Qt::LeftButton);
    ASSERT_EQ(fake.urls.size(), 1);
    EXPECT_EQ(fake.urls[0].toLocalFile(), path);  // '#' and '%' belong to the name
    EXPECT_TRUE(fake.messages.isEmpty());
    fake.urlsOpen = false;  // nothing on the desktop opens it
    QTest::mouseClick(s.cmdApri, Qt::LeftButton);
    EXPECT_EQ(fake.texts(), QStringList{unopenedPathMessage(files() ? AttachKind::Files : AttachKind::Folder)});
    fake.messages.clear();

    // Not typed over, kept by a cancelled chooser, refused when the archive
    // could not hold it; Backspace removes it.
    QTest::keyClicks(s.txtFile, QStringLiteral("x"));
    willChoose(QString());
    QTest::mouseClick(s.cmdSfoglia, Qt::LeftButton);
    willChoose(QStringLiteral("/dati/Договор.pdf"));
    QTest::mouseClick(s.cmdSfoglia, Qt::LeftButton);
    EXPECT_EQ(s.txtFile->text(), path);
    ASSERT_EQ(fake.messages.size(), 1);
    EXPECT_TRUE(fake.last().plain && fake.last().text.startsWith(QStringLiteral("Attenzione:")));
    QTest::keyClick(s.txtFile, Qt::Key_Backspace);
    EXPECT_TRUE(s.txtFile->text().isEmpty());
    EXPECT_FALSE(s.cmdApri->isEnabled());
  });
  const QStringList chooser = files() ? QStringList{"Selezionare un file e premere Apri:", "Tutti i file (*.*)"}
                                      : QStringList{"Selezionare una cartella:"};
  EXPECT_EQ(fake.choosers, QList<QStringList>(3, chooser));
  // The path in the box does not exist: each chooser opened at home.
  EXPECT_EQ(fake.chooserStarts, QStringList(3, QDir::homePath()));
}

TEST_P(AttachWindows, TheChooserOpensAtThePathInTheBox) {
  QTemporaryDir place;
  const QString path = files() ? place.filePath(QStringLiteral("offerta.pdf")) : place.path();
  QFile(place.filePath(QStringLiteral("offerta.pdf"))).open(QIODevice::WriteOnly);
  cardPath(0)->setText(QDir::toNativeSeparators(path));
  open([&](AttachmentSlotsWindow& w) { QTest::mouseClick(test::slotsOf(w).first().cmdSfoglia, Qt::LeftButton); });
  EXPECT_EQ(fake.chooserStarts, QStringList{path});
}

TEST_P(AttachWindows, ApplyWritesTheTrimmedValuesAndTheCloseBoxWritesNothing) {
  const auto choose = [&](const QString& path, const QString& description) {
    return [=](AttachmentSlotsWindow& w) {
      willChoose(path);
      test::slotsOf(w).first().cmdSfoglia->click();
      test::slotsOf(w).last().txtDesc->setText(description);
    };
  };
  const auto apply = choose(QStringLiteral("/dati/spazio finale.pdf "), QStringLiteral("  da allegare "));
  EXPECT_EQ(open([&](AttachmentSlotsWindow& w) {
              apply(w);
              test::button(&w, "cmdApplica")->click();
            }),
            QDialog::Accepted);
  const auto other = choose(QStringLiteral("/dati/altro.pdf"), QStringLiteral("altra"));
  EXPECT_EQ(open([&](AttachmentSlotsWindow& w) { other(w); w.close(); }), QDialog::Rejected);

  const int last = files() ? 2 : 0;
  EXPECT_EQ(cardPath(0)->text(), QStringLiteral("/dati/spazio finale.pdf"));
  EXPECT_EQ(cardPath(last)->text(), files() ? QString() : cardPath(0)->text());
  EXPECT_EQ(cardDescription(last)->text(), QStringLiteral("da allegare"));  // even without a path
}

// The texts of every label and button of the file dialog the desktop shows
// while `open` runs (which waits for it); the dialog is then cancelled.
QStringList dialogTexts(const std::function<void()>& open) {
  QStringList texts;
  QElapsedTimer clock;
  clock.start();
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog && dialog->isVisible()) {
      for (const auto* l : dialog->findChildren<QLabel*>()) texts << l->text();
      for (const auto* b : dialog->findChildren<QAbstractButton*>()) texts << b->text();
    } else if (clock.elapsed() < 10000) {
      return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    poll.stop();
  });
  poll.start(20);
  open();
  texts.replaceInStrings(QStringLiteral("&"), QString());
  texts.removeAll(QString());
  return texts;
}

// Qt's own texts are Italian whatever the user's language: the attachment
// dialogs and the menu of every edit box.
TEST(QtTexts, FileDialogsAndTheEditMenuAreItalian) {
  const QStringList english = {"Look in:", "File name:", "Files of type:", "Open", "Cancel", "Directory:",
                               "Choose", "Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"};
  DesktopServices desktop;
  const QStringList file = dialogTexts([&] {
    desktop.chooseFile(nullptr, QStringLiteral("Selezionare un file e premere Apri:"), QDir::homePath(),
                       QStringLiteral("Tutti i file (*.*)"));
  });
  const QStringList folder = dialogTexts(
      [&] { desktop.chooseFolder(nullptr, QStringLiteral("Selezionare una cartella:"), QDir::homePath()); });
  QLineEdit box;
  box.setText(QStringLiteral("testo"));
  box.selectAll();
  const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
  QStringList items;
  for (const QAction* a : menu->actions())
    if (!a->isSeparator()) items << a->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));

  for (const QStringList& shown : {file, folder, items}) {
    EXPECT_FALSE(shown.isEmpty());
    for (const QString& word : english) EXPECT_FALSE(shown.contains(word)) << word.toStdString();
  }
  EXPECT_TRUE(file.contains(QStringLiteral("Apri")) && file.contains(QStringLiteral("Annulla")))
      << file.join(QLatin1Char('|')).toStdString();
  EXPECT_TRUE(items.contains(QStringLiteral("Incolla"))) << items.join(QLatin1Char('|')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(EachVariant, AttachWindows, ::testing::ValuesIn(kVariants),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zel
