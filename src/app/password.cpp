#include "app/password.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QShowEvent>
#include <exception>

#include "app/avvio.h"
#include "app/cambiapassword.h"
#include "store/passwordstore.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"
#include "ui/kit.h"

namespace zel {
namespace {


// A picture scaled down (never up) to fit its box, keeping its proportions.
void showPicture(QLabel* picture, const QString& resource) {
  const QPixmap pixmap(resource);
  if (pixmap.isNull()) return;
  const QSize box = picture->size();
  picture->setPixmap(pixmap.width() > box.width() || pixmap.height() > box.height()
                         ? pixmap.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                         : pixmap);
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent, const QRect& where) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(where);
  b->setCursor(Qt::PointingHandCursor);
  // Enter never presses a button that does not have the focus.
  b->setAutoDefault(false);
  b->setDefault(false);
  return b;
}

}  // namespace

QString foreignPasswordMessage() {
  return QStringLiteral(
      "Attenzione: la password digitata contiene caratteri non ammessi (ad esempio lettere greche o "
      "cirilliche).\r\n\r\nDigitare la password senza tali caratteri.");
}

TfrmPassword::TfrmPassword(QWidget* parent)
    : Dialog(QStringLiteral("frmPassword"), QStringLiteral(" Zelvano - Autenticazione"), parent) {
  setEscapeCloses(false);
  setBackground(kSilver);
  setClientSize(360, 284);
  setFont(uiFont(FontFamily::Tahoma, pt(8)));

  grpPassword = new QGroupBox(this);
  grpPassword->setObjectName(QStringLiteral("grpPassword"));
  grpPassword->setGeometry(8, 6, 344, 226);

  imgLogo01 = new QLabel(grpPassword);
  imgLogo01->setObjectName(QStringLiteral("imgLogo01"));
  imgLogo01->setGeometry(12, 14, 64, 64);
  imgLogo01->setAlignment(Qt::AlignCenter);
  showPicture(imgLogo01, QStringLiteral(":/art/logo01.png"));
  imgLogo02 = new QLabel(grpPassword);
  imgLogo02->setObjectName(QStringLiteral("imgLogo02"));
  imgLogo02->setGeometry(84, 14, 248, 64);
  imgLogo02->setAlignment(Qt::AlignCenter);
  showPicture(imgLogo02, QStringLiteral(":/art/login_logo.png"));

  lblInfo = new QLabel(QStringLiteral("Immettere la password e premere OK."), grpPassword);
  lblInfo->setObjectName(QStringLiteral("lblInfo"));
  lblInfo->setGeometry(12, 92, 320, 16);
  lblInfo->setFont(uiFont(FontFamily::Verdana, pt(8)));

  txtPassword = new QLineEdit(grpPassword);
  txtPassword->setObjectName(QStringLiteral("txtPassword"));
  txtPassword->setGeometry(12, 114, 320, 24);
  txtPassword->setMaxLength(static_cast<int>(kMaxPasswordLength));
  txtPassword->setEchoMode(QLineEdit::Password);
  QFont bold = txtPassword->font();
  bold.setBold(true);
  txtPassword->setFont(bold);
  applyFocusColour(txtPassword, Qt::white);

  cmdOK = button("cmdOK", QStringLiteral("OK"), grpPassword, QRect(12, 150, 320, 36));
  cmdOK->setFont(uiFont(FontFamily::Verdana, pt(12)));
  cmdOK->setEnabled(false);

  btnCambiaPassword = button("btnCambiaPassword", QStringLiteral("Cambia password"), this, QRect(8, 244, 168, 30));
  cmdEsci = button("cmdEsci", QStringLiteral("Esci"), this, QRect(184, 244, 168, 30));

  lblMemory = new QLabel(this);
  lblMemory->setObjectName(QStringLiteral("lblMemory"));
  lblMemory->setVisible(false);

  setTabOrder(txtPassword, cmdOK);
  setTabOrder(cmdOK, btnCambiaPassword);
  setTabOrder(btnCambiaPassword, cmdEsci);

  txtPassword->installEventFilter(this);
  connect(txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::txtPasswordChange);
  wireCommands<TfrmPassword>(this, nullptr, {
      {cmdOK, &TfrmPassword::cmdOKClick, nullptr},
      {btnCambiaPassword, &TfrmPassword::btnCambiaPasswordClick, nullptr},
      {cmdEsci, &TfrmPassword::cmdEsciClick, nullptr},
  });
}

void TfrmPassword::showAgain() {
  txtPassword->clear();
  lblMemory->clear();
  show();
  raise();
  activateWindow();
}

void TfrmPassword::focusPassword() { txtPassword->setFocus(); }

void TfrmPassword::txtPasswordChange() { cmdOK->setEnabled(!trim(fromQ(txtPassword->text())).empty()); }

bool TfrmPassword::txtPasswordKeyPress(QKeyEvent* key) {
  if (!isEnterKey(key)) return false;
  if (!trim(fromQ(txtPassword->text())).empty()) cmdOKClick();
  return true;
}

void TfrmPassword::cmdOKClick() {
  const std::optional<Text> typed = fromQExact(txtPassword->text());
  if (!typed) {
    services().message(this, foreignPasswordMessage());
    txtPassword->clear();
    txtPassword->setFocus();
    return;
  }
  bool accepted = false;
  try {
    // Read afresh at every attempt: the store may have changed meanwhile.
    accepted = checkPassword(passwordStorePath(programFolder()), *typed);
  } catch (const std::exception&) {
    services().message(this, QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura "
                                            "della password. Si consiglia di reinstallare il software."));
    return;
  }
  if (!accepted) {
    services().message(this, QStringLiteral("Attenzione: password errata."));
    txtPassword->clear();
    txtPassword->setFocus();
    return;
  }
  // The typed password has no further use; the hidden window keeps nothing of it.
  txtPassword->clear();
  if (auto* start = windowAs<TfrmAvvio>(WindowId::StartScreen)) start->open();
  hide();
}

void TfrmPassword::btnCambiaPasswordClick() {
  auto* change = windowAs<TfrmCambiaPassword>(WindowId::ChangePassword);
  if (!change) return;
  change->show();
  change->raise();
  change->activateWindow();
  hide();
}

void TfrmPassword::cmdEsciClick() { reject(); }

void TfrmPassword::done(int result) {
  Dialog::done(result);
  flow().quit();
}

bool TfrmPassword::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtPassword && event->type() == QEvent::KeyPress)
    return txtPasswordKeyPress(static_cast<QKeyEvent*>(event));
  return Dialog::eventFilter(watched, event);
}

void TfrmPassword::showEvent(QShowEvent* event) {
  Dialog::showEvent(event);
  txtPassword->setFocus();
}

}  // namespace zel
