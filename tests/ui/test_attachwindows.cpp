// The attachments and folder windows, driven as the user drives them: the six
// variants share one behaviour and differ only in texts.
#include <gtest/gtest.h>

#include <QTest>

#include <functional>
#include <memory>

#include "attach/allegatides.h"
#include "attach/allegatifor.h"
#include "attach/allegatimat.h"
#include "attach/cartellades.h"
#include "attach/cartellafor.h"
#include "attach/cartellamat.h"
#include "fakeservices.h"

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
    ASSERT_EQ(w.items().size(), files() ? 3 : 1);
    for (const AttachmentSlot& s : w.items()) EXPECT_FALSE(s.cmdApri->isEnabled());
    const AttachmentSlot& s = w.items().last();
    const QString path = QStringLiteral("/home/utente/Città e perché #2 al 100%.pdf");
    willChoose(path);
    QTest::mouseClick(s.cmdSfoglia, Qt::LeftButton);
    EXPECT_TRUE(s.cmdApri->isEnabled());
    EXPECT_FALSE(w.items().first().cmdApri->isEnabled() && files());
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
}

TEST_P(AttachWindows, ApplyWritesTheTrimmedValuesAndTheCloseBoxWritesNothing) {
  const auto choose = [&](const QString& path, const QString& description) {
    return [=](AttachmentSlotsWindow& w) {
      willChoose(path);
      w.items().first().cmdSfoglia->click();
      w.items().last().txtDesc->setText(description);
    };
  };
  const auto apply = choose(QStringLiteral("/dati/spazio finale.pdf "), QStringLiteral("  da allegare "));
  EXPECT_EQ(open([&](AttachmentSlotsWindow& w) { apply(w); w.cmdApplica->click(); }), QDialog::Accepted);
  const auto other = choose(QStringLiteral("/dati/altro.pdf"), QStringLiteral("altra"));
  EXPECT_EQ(open([&](AttachmentSlotsWindow& w) { other(w); w.close(); }), QDialog::Rejected);

  const int last = files() ? 2 : 0;
  EXPECT_EQ(cardPath(0)->text(), QStringLiteral("/dati/spazio finale.pdf"));
  EXPECT_EQ(cardPath(last)->text(), files() ? QString() : cardPath(0)->text());
  EXPECT_EQ(cardDescription(last)->text(), QStringLiteral("da allegare"));  // even without a path
}

INSTANTIATE_TEST_SUITE_P(EachVariant, AttachWindows, ::testing::ValuesIn(kVariants),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zel
