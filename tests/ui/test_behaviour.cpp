#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <stdexcept>

#include "store/archives.h"
#include "store/iohook.h"
#include "store/journal.h"
#include "store/recordfile.h"
#include "support/tempfolder.h"
#include "support/ui/fakes.h"
#include "ui/behaviour.h"

namespace zel {
namespace {

class Thrower : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::runtime_error("disco pieno");
    return QObject::event(e);
  }
};

TEST(Guards, AnErrorEscapingAHandlerBecomesAMessage) {
  test::FakeServices fake;
  Thrower t;
  QEvent e(QEvent::User);
  QCoreApplication::sendEvent(&t, &e);  // must not terminate the test process
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, QStringLiteral("disco pieno"));
  EXPECT_TRUE(fake.last().plain);
}

TEST(Guards, ArchiveFailuresGiveTheOneAccessMessage) {
  test::FakeServices fake;
  EXPECT_FALSE(withArchive(nullptr, [] { throw StoreError("x"); }));
  EXPECT_TRUE(withArchive(nullptr, [] {}));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, archiveAccessMessage());
  EXPECT_TRUE(fake.last().text.contains(QStringLiteral("archivio.\n\r\n\rAccertarsi")));
}

TEST(Guards, AJournalThatStoppedTheActionIsNamedAfterTheAccessMessage) {
  test::FakeServices fake;
  using Reason = journal::JournalRefused::Reason;
  for (Reason reason : {Reason::CannotApply, Reason::DoesNotFit}) {
    const std::filesystem::path name = "/cartella/Anagrafica.pro.jrn";
    EXPECT_FALSE(withArchive(nullptr, [&] { throw journal::JournalRefused(name, reason, "x"); }));
    const QString text = fake.last().text;
    EXPECT_TRUE(text.startsWith(archiveAccessMessage() + QStringLiteral("\n\r\n\r"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\"/cartella/Anagrafica.pro.jrn\""))) << text.toStdString();
  }
  ASSERT_EQ(fake.messages.size(), 2);
  EXPECT_NE(fake.messages[0].text, fake.messages[1].text) << "the two reasons read alike";
}

// Through the real archive layer: a write cut short by a full disk, then a
// folder whose file system takes no locks.
TEST(Guards, AFullDiskAndAFolderWithoutLocksAreTold) {
  test::FakeServices fake;
  test::TempFolder dir;
  const CardArchive clients = clientArchive(dir.path());
  {
    ScopedIoHook full([](IoStep s) { return s == IoStep::Write ? Fault::Short : Fault::None; });
    EXPECT_FALSE(withArchive(nullptr, [&] { saveCard(clients, "", emptyRecord(clientLayout())); }));
  }
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, diskFullAccessMessage());
  EXPECT_TRUE(fake.last().text.startsWith(archiveAccessMessage() + QStringLiteral("\n\r\n\r")));

  fake.clear();
  ScopedIoHook noLocks([](IoStep s) { return s == IoStep::Lock ? Fault::Refused : Fault::None; });
  for (int i = 0; i < 2; ++i)
    EXPECT_TRUE(withArchive(nullptr, [&] { saveCard(clients, "", emptyRecord(clientLayout())); }));
  EXPECT_EQ(fake.texts(), QStringList{noLocksMessage()});  // once per session
}

TEST(Guards, WaitCursorIsRestoredWhenTheWorkFails) {
  try {
    WaitCursor wait;
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    throw std::runtime_error("x");
  } catch (const std::exception&) {
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

struct Fields {
  QWidget window;
  QLineEdit* a = new QLineEdit(&window);
  QLineEdit* b = new QLineEdit(&window);
  QPlainTextEdit* notes = new QPlainTextEdit(&window);
  Fields() {
    applyFocusColours({a, b, notes}, kMoneyGreen);
    installEnterChain({a, b, notes});
    window.show();
    QApplication::setActiveWindow(&window);
    a->setFocus();
    QCoreApplication::processEvents();
  }
};

TEST(Keyboard, EnterWalksTheChainAndNotesSwallowIt) {
  Fields f;
  ASSERT_EQ(QApplication::focusWidget(), f.a);
  QTest::keyClick(f.a, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), f.b);
  QTest::keyClick(f.b, Qt::Key_Enter);
  EXPECT_EQ(QApplication::focusWidget(), f.notes);
  QTest::keyClicks(f.notes, QStringLiteral("riga"));
  QTest::keyClick(f.notes, Qt::Key_Return);
  EXPECT_EQ(f.notes->toPlainText(), QStringLiteral("riga"));
  EXPECT_EQ(QApplication::focusWidget(), f.a);
}

TEST(Keyboard, FocusTurnsYellowAndGivesBackTheOwnColour) {
  Fields f;
  EXPECT_EQ(fieldColour(f.a), kFocusYellow);
  EXPECT_EQ(fieldColour(f.b), kMoneyGreen);
  f.b->setFocus();
  QCoreApplication::processEvents();
  EXPECT_EQ(fieldColour(f.a), kMoneyGreen);
  EXPECT_EQ(fieldColour(f.b), kFocusYellow);
}

TEST(Keyboard, DigitFilterRefusesOtherKeysWithItsMessage) {
  test::FakeServices fake;
  Fields f;
  installDigitFilter(f.a, QStringLiteral("Attenzione: carattere non valido. Solo cifre."));
  QTest::keyClicks(f.a, QStringLiteral("12a3"));
  EXPECT_EQ(f.a->text(), QStringLiteral("123"));
  ASSERT_EQ(fake.messages.size(), 1);
  EXPECT_EQ(fake.last().text, QStringLiteral("Attenzione: carattere non valido. Solo cifre."));
  QTest::keyClick(f.a, Qt::Key_Backspace);
  EXPECT_EQ(f.a->text(), QStringLiteral("12"));
  EXPECT_EQ(fake.messages.size(), 1);
}

TEST(Keyboard, LiveUpperCaseKeepsTheCaretAndAccents) {
  Fields f;
  installLiveUpperCase(f.a);
  QTest::keyClicks(f.a, QStringLiteral("rss"));
  EXPECT_EQ(f.a->text(), QStringLiteral("RSS"));
  EXPECT_EQ(f.a->cursorPosition(), 3);
  f.a->setCursorPosition(1);
  // QTest only types ASCII; an accented key arrives as a key event with text.
  QKeyEvent accented(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("è"));
  QCoreApplication::sendEvent(f.a, &accented);
  EXPECT_EQ(f.a->text(), QStringLiteral("RèSS"));
  EXPECT_EQ(f.a->cursorPosition(), 2);
  // A character outside Windows-1252 (two UTF-16 units) shifts nothing.
  f.a->setText(QStringLiteral("\U0001F600iban"));
  EXPECT_EQ(f.a->text(), QStringLiteral("\U0001F600IBAN"));
}

TEST(Keyboard, NotesBoxKeepsItsCapacityOnPaste) {
  Fields f;
  limitLength(f.notes, 10);
  f.notes->insertPlainText(QString(25, QLatin1Char('x')));
  EXPECT_EQ(f.notes->toPlainText().size(), 10);
}

// What the card windows' tests do not reach: a key that brings several
// characters, and a paste that replaces a selection.
TEST(NumberBox, EveryCharacterOfAKeyIsJudgedAndAPasteByWhatItKeeps) {
  test::FakeServices fake;
  NumberBoxRule rule;  // digits only, three at most
  rule.key = [](std::string_view, char32_t typed) {
    return typed >= U'0' && typed <= U'9' ? BoxKey::Take : BoxKey::Refuse;
  };
  rule.pasteKey = [](std::string_view, std::string_view kept, std::string_view pasted) {
    return kept.size() + pasted.size() <= 3 ? BoxKey::Take : BoxKey::Refuse;
  };
  rule.refusal = QStringLiteral("solo cifre");
  QLineEdit box;
  installNumberBox(&box, rule);
  EXPECT_EQ(box.contextMenuPolicy(), Qt::NoContextMenu) << "the paste key is the only way in";
  EXPECT_FALSE(box.acceptDrops());

  // An input method's key with two characters is refused whole at its second.
  QKeyEvent two(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("1x"));
  QCoreApplication::sendEvent(&box, &two);
  EXPECT_EQ(box.text(), QString());
  EXPECT_EQ(fake.texts(), QStringList{QStringLiteral("solo cifre")});
  QKeyEvent digits(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("12"));
  QCoreApplication::sendEvent(&box, &digits);
  EXPECT_EQ(box.text(), QStringLiteral("12"));

  // Three characters at most: the paste is judged by what it keeps of the box.
  QApplication::clipboard()->setText(QStringLiteral("34"));
  QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box.text(), QStringLiteral("12"));
  EXPECT_EQ(fake.messages.size(), 2);
  box.setSelection(1, 1);  // the "2" goes
  QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box.text(), QStringLiteral("134"));
  EXPECT_EQ(fake.messages.size(), 2);
  QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);  // other shortcuts pass
  EXPECT_EQ(box.selectedText(), QStringLiteral("134"));
}

TEST(Text, RecordEdgeConversionIsWindows1252) {
  EXPECT_EQ(fromQ(QStringLiteral("città €")), Text("citt\xE0 \x80"));
  EXPECT_EQ(toQ(Text("perch\xE9 \x80")), QStringLiteral("perché €"));
  EXPECT_EQ(fromQ(QStringLiteral("日本")), Text("??"));
}

}  // namespace
}  // namespace zel
