#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <csignal>
#include <fstream>
#include <iterator>

#include "app/avvio.h"
#include "app/cambiapassword.h"
#include "app/password.h"
#include "core/crypt.h"
#include "store/passwordstore.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"
#include "ui/behaviour.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

const QString kWrong = QStringLiteral("Attenzione: password errata.");
const QString kReadError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di lettura della password. "
    "Si consiglia di reinstallare il software.");
const QString kWrongOld = QStringLiteral("Attenzione: vecchia password errata.");
const QString kNotConfirmed = QStringLiteral(
    "Attenzione: la nuova password non è stata confermata correttamente. "
    "E' necessario reinserire entrambi i valori.");
const QString kChanged = QStringLiteral("Modifica della password avvenuta con successo.");
const QString kChangeError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di modifica della password. "
    "Si consiglia di reinstallare il software.");

// The login, change and start windows reaching each other through the
// navigation, a store holding "SEGRETO" and the login window shown and active.
class Login : public ::testing::Test {
 protected:
  void SetUp() override {
    login = new TfrmPassword();
    change = new TfrmCambiaPassword();
    start = new TfrmAvvio();
    windows.set(WindowId::Login, login);
    windows.set(WindowId::ChangePassword, change);
    windows.set(WindowId::StartScreen, start);
    writeStoredPassword(store(), "Segreto");
    login->show();
    activate(login);
  }
  void TearDown() override {
    delete change;
    delete start;
    delete login;
  }

  static void activate(QWidget* window) {
    QApplication::setActiveWindow(window);
    QCoreApplication::processEvents();
  }
  fs::path store() const { return folder.file("unins000.dll"); }
  std::string storeBytes() const {
    std::ifstream in(store(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Types into a box key by key (QTest::keyClicks takes only ASCII).
  static void keys(QWidget* box, const QString& text) {
    for (const QChar ch : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(box, &press);
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(box, &release);
    }
  }
  static void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    keys(box, text);
  }
  static void enter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }

  // Types into the login window and presses Enter.
  void tryLogin(const QString& text) {
    type(loginControl<QLineEdit>("txtPassword"), text);
    enter(loginControl<QLineEdit>("txtPassword"));
  }
  bool loggedIn() const { return start->isVisible() && !login->isVisible(); }

  void openChange() {
    QTest::mouseClick(loginControl<QPushButton>("btnCambiaPassword"), Qt::LeftButton);
    activate(change);
  }
  void fillChange(const QString& old, const QString& neu, const QString& conf) {
    type(test::edit(change, "txtPasswordOld"), old);
    type(test::edit(change, "txtPasswordNew"), neu);
    type(test::edit(change, "txtConferma"), conf);
  }

  test::FakeServices fake;
  test::TempProgramFolder folder;
  TfrmPassword* login = nullptr;
  template <class T>
  T* loginControl(const char* name) const { return test::named<T>(login, name); }
  TfrmCambiaPassword* change = nullptr;
  TfrmAvvio* start = nullptr;
  test::FakeFlow flow;
  test::FakeNavigation windows;
};

TEST_F(Login, WindowAtStart) {
  EXPECT_EQ(login->windowTitle(), QStringLiteral(" Zelvano - Autenticazione"));
  EXPECT_FALSE(loginControl<QPushButton>("cmdOK")->isEnabled());
  EXPECT_EQ(loginControl<QLineEdit>("txtPassword")->echoMode(), QLineEdit::Password);
  EXPECT_EQ(loginControl<QLineEdit>("txtPassword")->maxLength(), 230);
  EXPECT_FALSE(loginControl<QLabel>("lblMemory")->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), loginControl<QLineEdit>("txtPassword"));
  EXPECT_EQ(fieldColour(loginControl<QLineEdit>("txtPassword")), kFocusYellow);
  loginControl<QPushButton>("cmdEsci")->setFocus();
  QCoreApplication::processEvents();
  EXPECT_EQ(fieldColour(loginControl<QLineEdit>("txtPassword")), QColor(Qt::white));
}

TEST_F(Login, WrongPasswordIsReportedAndTheFieldEmptied) {
  tryLogin(QStringLiteral("sbagliata"));
  EXPECT_EQ(fake.texts(), QStringList{kWrong});
  EXPECT_TRUE(fake.last().plain);
  EXPECT_TRUE(loginControl<QLineEdit>("txtPassword")->text().isEmpty());
  EXPECT_FALSE(loginControl<QPushButton>("cmdOK")->isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), loginControl<QLineEdit>("txtPassword"));
  EXPECT_FALSE(start->isVisible());
  EXPECT_TRUE(login->isVisible());

  // No limit on attempts: the right one still gets in, by the OK button too.
  type(loginControl<QLineEdit>("txtPassword"), QStringLiteral("SEGRETO"));
  QTest::mouseClick(loginControl<QPushButton>("cmdOK"), Qt::LeftButton);
  EXPECT_TRUE(loggedIn());
  EXPECT_EQ(fake.messages.size(), 1);
}

TEST_F(Login, LowerCaseAndBlanksAroundAreAccepted) {
  tryLogin(QStringLiteral("  segreto  "));
  EXPECT_TRUE(fake.messages.isEmpty()) << fake.texts().join('|').toStdString();
  EXPECT_TRUE(loggedIn());
  EXPECT_EQ(flow.quits, 0);  // the login window is hidden, not closed
}

TEST_F(Login, AccentedLettersAreNotUpperCased) {
  writeStoredPassword(store(), "perch\xE9");  // stored as "PERCHé"
  tryLogin(QStringLiteral("PERCHÉ"));
  EXPECT_EQ(fake.texts(), QStringList{kWrong});
  tryLogin(QStringLiteral("perché"));
  EXPECT_TRUE(loggedIn());
}

TEST_F(Login, BlanksKeepOKDisabledAndEnterDoesNothing) {
  type(loginControl<QLineEdit>("txtPassword"), QStringLiteral("   "));
  EXPECT_FALSE(loginControl<QPushButton>("cmdOK")->isEnabled());
  enter(loginControl<QLineEdit>("txtPassword"));
  EXPECT_TRUE(fake.messages.isEmpty());
  EXPECT_EQ(loginControl<QLineEdit>("txtPassword")->text(), QStringLiteral("   "));
  EXPECT_TRUE(login->isVisible());
  keys(loginControl<QLineEdit>("txtPassword"), QStringLiteral("x"));
  EXPECT_TRUE(loginControl<QPushButton>("cmdOK")->isEnabled());
  QTest::keyClick(loginControl<QLineEdit>("txtPassword"), Qt::Key_Backspace);
  EXPECT_FALSE(loginControl<QPushButton>("cmdOK")->isEnabled());
  // Escape does not close the main window either.
  QTest::keyClick(loginControl<QLineEdit>("txtPassword"), Qt::Key_Escape);
  EXPECT_TRUE(login->isVisible());
  EXPECT_EQ(flow.quits, 0);
}

TEST_F(Login, MissingStoreRefusesEveryPasswordAndCreatesNothing) {
  fs::remove(store());
  tryLogin(QStringLiteral("segreto"));
  EXPECT_EQ(fake.texts(), QStringList{kWrong});
  EXPECT_FALSE(fs::exists(store()));
  EXPECT_FALSE(start->isVisible());
}

TEST_F(Login, DamagedStoreGivesTheReadErrorAndLeavesTheWindowAsItWas) {
  std::ofstream(store(), std::ios::binary) << "[Accesso]\r\nValore=" << ScrambleToHex("SEGRETO").substr(0, 4)
                                           << "G1\r\n";
  tryLogin(QStringLiteral("segreto"));
  EXPECT_EQ(fake.texts(), QStringList{kReadError});
  EXPECT_EQ(loginControl<QLineEdit>("txtPassword")->text(), QStringLiteral("segreto"));
  EXPECT_TRUE(loginControl<QPushButton>("cmdOK")->isEnabled());
  EXPECT_TRUE(login->isVisible());
  EXPECT_FALSE(start->isVisible());

  // The store is read afresh at every attempt: once mended, the same entry works.
  writeStoredPassword(store(), "segreto");
  enter(loginControl<QLineEdit>("txtPassword"));
  EXPECT_TRUE(loggedIn());
}

TEST_F(Login, EsciAndTheCloseBoxEndTheProgram) {
  QTest::mouseClick(loginControl<QPushButton>("cmdEsci"), Qt::LeftButton);
  EXPECT_FALSE(login->isVisible());
  EXPECT_EQ(flow.quits, 1);
  login->show();
  login->close();
  EXPECT_FALSE(login->isVisible());
  EXPECT_EQ(flow.quits, 2);
}

TEST_F(Login, ChangeWindowOpensEmptyInPlaceOfTheLogin) {
  type(loginControl<QLineEdit>("txtPassword"), QStringLiteral("abc"));
  openChange();
  EXPECT_TRUE(change->isVisible());
  EXPECT_FALSE(login->isVisible());
  EXPECT_EQ(change->windowTitle(), QStringLiteral(" Cambia password"));
  for (QLineEdit* box : {test::edit(change, "txtPasswordOld"), test::edit(change, "txtPasswordNew"),
                         test::edit(change, "txtConferma")}) {
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(box->echoMode(), QLineEdit::Password);
    EXPECT_EQ(box->maxLength(), 230);
  }
  EXPECT_FALSE(test::button(change, "cmdOK")->isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), test::edit(change, "txtPasswordOld"));
  EXPECT_EQ(fieldColour(test::edit(change, "txtPasswordOld")), kFocusYellow);
  EXPECT_EQ(fieldColour(test::edit(change, "txtPasswordNew")), QColor(Qt::white));

  // Every showing starts afresh.
  fillChange(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
  change->hide();
  change->show();
  EXPECT_TRUE(test::edit(change, "txtPasswordOld")->text().isEmpty());
  EXPECT_TRUE(test::edit(change, "txtConferma")->text().isEmpty());
}

TEST_F(Login, ChangeWindowEnablesOKAndChainsEnter) {
  openChange();
  type(test::edit(change, "txtPasswordOld"), QStringLiteral("x"));
  enter(test::edit(change, "txtPasswordOld"));
  EXPECT_EQ(QApplication::focusWidget(), test::edit(change, "txtPasswordNew"));
  keys(test::edit(change, "txtPasswordNew"), QStringLiteral("y"));
  enter(test::edit(change, "txtPasswordNew"));
  EXPECT_EQ(QApplication::focusWidget(), test::edit(change, "txtConferma"));
  keys(test::edit(change, "txtConferma"), QStringLiteral("  "));
  EXPECT_FALSE(test::button(change, "cmdOK")->isEnabled());
  enter(test::edit(change, "txtConferma"));  // OK is off: back to the first box
  EXPECT_EQ(QApplication::focusWidget(), test::edit(change, "txtPasswordOld"));

  type(test::edit(change, "txtConferma"), QStringLiteral("z"));
  EXPECT_TRUE(test::button(change, "cmdOK")->isEnabled());
  enter(test::edit(change, "txtConferma"));  // OK is on: the focus goes to it, nothing is pressed
  EXPECT_EQ(QApplication::focusWidget(), test::button(change, "cmdOK"));
  EXPECT_TRUE(fake.messages.isEmpty());
  enter(test::button(change, "cmdOK"));  // Enter on the focused button presses it
  EXPECT_EQ(fake.texts(), QStringList{kWrongOld});
  EXPECT_TRUE(test::edit(change, "txtPasswordOld")->text().isEmpty());
  EXPECT_EQ(test::edit(change, "txtPasswordNew")->text(), QStringLiteral("y"));
  EXPECT_EQ(QApplication::focusWidget(), test::edit(change, "txtPasswordOld"));
  EXPECT_FALSE(test::button(change, "cmdOK")->isEnabled());
}

// Folded to '?', "a\u03C9b" and "a\u03C8b" would be one password: both windows
// refuse a character without a Windows-1252 form, and nothing is compared
// or stored.
TEST_F(Login, CharactersOutsideTheCodePageAreRefusedNeverFolded) {
  writeStoredPassword(store(), "a?b");
  tryLogin(QStringLiteral("a\u03C8b"));
  EXPECT_FALSE(loggedIn());
  ASSERT_EQ(fake.messages.size(), 1);
  const QString refusal = fake.last().text;
  EXPECT_NE(refusal, kWrong);
  EXPECT_TRUE(fake.last().plain);
  EXPECT_TRUE(loginControl<QLineEdit>("txtPassword")->text().isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), loginControl<QLineEdit>("txtPassword"));

  writeStoredPassword(store(), "Segreto");
  const std::string before = storeBytes();
  openChange();
  fillChange(QStringLiteral("segreto"), QStringLiteral("a\u03C9b"), QStringLiteral("a\u03C9b"));
  QTest::mouseClick(test::button(change, "cmdOK"), Qt::LeftButton);
  EXPECT_EQ(fake.texts(), QStringList({refusal, refusal}));
  EXPECT_EQ(storeBytes(), before);
  EXPECT_EQ(test::edit(change, "txtPasswordOld")->text(), QStringLiteral("segreto"));
  EXPECT_TRUE(test::edit(change, "txtPasswordNew")->text().isEmpty() &&
              test::edit(change, "txtConferma")->text().isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), test::edit(change, "txtPasswordNew"));
  EXPECT_TRUE(change->isVisible());
}

TEST_F(Login, ConfirmationComparesCaseBeforeUpperCasing) {
  const std::string before = storeBytes();
  openChange();
  fillChange(QStringLiteral("segreto"), QStringLiteral("nuova"), QStringLiteral("NUOVA"));
  QTest::mouseClick(test::button(change, "cmdOK"), Qt::LeftButton);
  EXPECT_EQ(fake.texts(), QStringList{kNotConfirmed});
  EXPECT_TRUE(test::edit(change, "txtPasswordNew")->text().isEmpty());
  EXPECT_TRUE(test::edit(change, "txtConferma")->text().isEmpty());
  EXPECT_EQ(test::edit(change, "txtPasswordOld")->text(), QStringLiteral("segreto"));
  EXPECT_EQ(QApplication::focusWidget(), test::edit(change, "txtPasswordNew"));
  EXPECT_TRUE(change->isVisible());
  EXPECT_EQ(storeBytes(), before);
}

TEST_F(Login, SuccessfulChangeThenLoginWithTheNewPassword) {
  openChange();
  // Blanks around the confirmation do not count; the case of the old one does not either.
  fillChange(QStringLiteral("SeGrEtO"), QStringLiteral("nuova"), QStringLiteral(" nuova "));
  QTest::mouseClick(test::button(change, "cmdOK"), Qt::LeftButton);
  EXPECT_EQ(fake.texts(), QStringList{kChanged});
  EXPECT_EQ(readStoredPassword(store()), "NUOVA");

  // Back to the login window, empty and focused.
  EXPECT_FALSE(change->isVisible());
  EXPECT_TRUE(login->isVisible());
  EXPECT_TRUE(loginControl<QLineEdit>("txtPassword")->text().isEmpty());
  EXPECT_FALSE(loginControl<QPushButton>("cmdOK")->isEnabled());
  activate(login);
  EXPECT_EQ(QApplication::focusWidget(), loginControl<QLineEdit>("txtPassword"));
  EXPECT_EQ(flow.quits, 0);

  tryLogin(QStringLiteral("segreto"));
  EXPECT_EQ(fake.last().text, kWrong);
  tryLogin(QStringLiteral("Nuova"));
  EXPECT_TRUE(loggedIn());
}

TEST_F(Login, EsciAndTheCloseBoxGiveBackAnEmptyLogin) {
  for (int way = 0; way < 2; ++way) {
    type(loginControl<QLineEdit>("txtPassword"), QStringLiteral("mezza"));
    loginControl<QLabel>("lblMemory")->setText(QStringLiteral("x"));
    openChange();
    type(test::edit(change, "txtPasswordOld"), QStringLiteral("abc"));
    if (way == 0)
      QTest::mouseClick(test::named<QWidget>(change, "cmdEsci"), Qt::LeftButton);
    else change->close();
    EXPECT_FALSE(change->isVisible()) << way;
    EXPECT_TRUE(login->isVisible()) << way;
    EXPECT_TRUE(loginControl<QLineEdit>("txtPassword")->text().isEmpty()) << way;
    EXPECT_TRUE(loginControl<QLabel>("lblMemory")->text().isEmpty()) << way;
    activate(login);
    EXPECT_EQ(QApplication::focusWidget(), loginControl<QLineEdit>("txtPassword")) << way;
  }
  EXPECT_TRUE(fake.messages.isEmpty());
  EXPECT_EQ(flow.quits, 0);
  EXPECT_EQ(readStoredPassword(store()), "SEGRETO");
}

TEST_F(Login, ChangeFailuresLeaveTheOldPasswordValid) {
  openChange();
  // Missing store: no old password can match, and nothing is created.
  fs::remove(store());
  fillChange(QStringLiteral("segreto"), QStringLiteral("nuova"), QStringLiteral("nuova"));
  QTest::mouseClick(test::button(change, "cmdOK"), Qt::LeftButton);
  EXPECT_EQ(fake.last().text, kWrongOld);
  EXPECT_FALSE(fs::exists(store()));

  // Damaged store: the change-error message, the window unchanged.
  std::ofstream(store(), std::ios::binary) << "[Accesso]\nValore=XY\n";
  fake.clear();
  type(test::edit(change, "txtPasswordOld"), QStringLiteral("segreto"));
  QTest::mouseClick(test::button(change, "cmdOK"), Qt::LeftButton);
  EXPECT_EQ(fake.texts(), QStringList{kChangeError});
  EXPECT_EQ(test::edit(change, "txtPasswordOld")->text(), QStringLiteral("segreto"));
  EXPECT_EQ(test::edit(change, "txtPasswordNew")->text(), QStringLiteral("nuova"));
  EXPECT_TRUE(change->isVisible());

  // A store that cannot be written (a file-size limit stops the write even
  // for root): the change-error message, the store byte for byte as before.
  writeStoredPassword(store(), "segreto");
  const std::string before = storeBytes();
  fake.clear();
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 8;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  QTest::mouseClick(test::button(change, "cmdOK"), Qt::LeftButton);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(fake.texts(), QStringList{kChangeError});
  EXPECT_EQ(storeBytes(), before);
  EXPECT_TRUE(change->isVisible());

  // Another change holds the store (another desk on the same folder): after a
  // short wait the change-error message, the store as it was.
  fake.clear();
  const int other = ::open(store().c_str(), O_RDWR | O_CLOEXEC);
  struct flock whole {};
  whole.l_type = F_WRLCK;
  whole.l_whence = SEEK_SET;
  ASSERT_EQ(::fcntl(other, F_OFD_SETLK, &whole), 0);
  QTest::mouseClick(test::button(change, "cmdOK"), Qt::LeftButton);
  ::close(other);
  EXPECT_EQ(fake.texts(), QStringList{kChangeError});
  EXPECT_EQ(storeBytes(), before);
  EXPECT_TRUE(change->isVisible());

  // Back at the login, the old password still opens the program.
  QTest::mouseClick(test::named<QWidget>(change, "cmdEsci"), Qt::LeftButton);
  tryLogin(QStringLiteral("segreto"));
  EXPECT_TRUE(loggedIn());
}

}  // namespace
}  // namespace zel
