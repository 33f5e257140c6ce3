#include "app/cambiapassword.h"

#include <QKeyEvent>
#include <QShowEvent>
#include <exception>

#include "app/login.h"
#include "store/passwordstore.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"
#include "ui/kit.h"

namespace zel {
namespace {


bool filled(const QLineEdit* box) { return !trim(fromQ(box->text())).empty(); }

QString changeErrorMessage() {
  return QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della password. "
                        "Si consiglia di reinstallare il software.");
}

}  // namespace

TfrmCambiaPassword::TfrmCambiaPassword(QWidget* parent)
    : Dialog(QStringLiteral("frmCambiaPassword"), QStringLiteral(" Cambia password"), parent) {
  setEscapeCloses(false);
  setBackground(kSilver);
  setClientSize(330, 168);
  setFont(uiFont(FontFamily::Tahoma, pt(8)));

  auto row = [this](const char* labelName, const QString& caption, const char* boxName, int top,
                    QLabel*& label, QLineEdit*& box) {
    label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(labelName));
    label->setGeometry(12, top + 4, 116, 16);
    box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(boxName));
    box->setGeometry(132, top, 186, 24);
    box->setMaxLength(static_cast<int>(kMaxPasswordLength));
    box->setEchoMode(QLineEdit::Password);
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    applyFocusColour(box, Qt::white);
    box->installEventFilter(this);
  };
  row("lblPasswordOld", QStringLiteral("Vecchia password:"), "txtPasswordOld", 12, lblPasswordOld, txtPasswordOld);
  row("lblPasswordNew", QStringLiteral("Nuova password:"), "txtPasswordNew", 44, lblPasswordNew, txtPasswordNew);
  row("lblConferma", QStringLiteral("Conferma nuova pw:"), "txtConferma", 76, lblConferma, txtConferma);

  auto button = [this](const char* name, const QString& caption, const QRect& where) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(where);
    b->setCursor(Qt::PointingHandCursor);
    b->setAutoDefault(false);  // Enter presses only the button that has the focus
    b->setDefault(false);
    return b;
  };
  cmdOK = button("cmdOK", QStringLiteral("OK"), QRect(132, 124, 90, 30));
  cmdOK->setEnabled(false);
  cmdEsci = button("cmdEsci", QStringLiteral("Esci"), QRect(228, 124, 90, 30));

  lblMemory = new QLabel(this);
  lblMemory->setObjectName(QStringLiteral("lblMemory"));
  lblMemory->setVisible(false);

  setTabOrder(txtPasswordOld, txtPasswordNew);
  setTabOrder(txtPasswordNew, txtConferma);
  setTabOrder(txtConferma, cmdOK);
  setTabOrder(cmdOK, cmdEsci);

  connect(txtPasswordOld, &QLineEdit::textChanged, this, &TfrmCambiaPassword::txtPasswordOldChange);
  connect(txtPasswordNew, &QLineEdit::textChanged, this, &TfrmCambiaPassword::txtPasswordNewChange);
  connect(txtConferma, &QLineEdit::textChanged, this, &TfrmCambiaPassword::txtConfermaChange);
  wireCommands<TfrmCambiaPassword>(this, nullptr, {
      {cmdOK, &TfrmCambiaPassword::cmdOKClick, nullptr},
      {cmdEsci, &TfrmCambiaPassword::cmdEsciClick, nullptr},
  });
}

void TfrmCambiaPassword::updateOK() {
  cmdOK->setEnabled(filled(txtPasswordOld) && filled(txtPasswordNew) && filled(txtConferma));
}

void TfrmCambiaPassword::txtPasswordOldChange() { updateOK(); }
void TfrmCambiaPassword::txtPasswordNewChange() { updateOK(); }
void TfrmCambiaPassword::txtConfermaChange() { updateOK(); }

bool TfrmCambiaPassword::txtPasswordOldKeyPress(QKeyEvent* key) {
  if (!isEnterKey(key)) return false;
  txtPasswordNew->setFocus();
  return true;
}

bool TfrmCambiaPassword::txtPasswordNewKeyPress(QKeyEvent* key) {
  if (!isEnterKey(key)) return false;
  txtConferma->setFocus();
  return true;
}

bool TfrmCambiaPassword::txtConfermaKeyPress(QKeyEvent* key) {
  if (!isEnterKey(key)) return false;
  // Enter leads to OK without pressing it, or back to the start when OK is off.
  if (cmdOK->isEnabled()) cmdOK->setFocus();
  else txtPasswordOld->setFocus();
  return true;
}

void TfrmCambiaPassword::cmdOKClick() {
  // Every box is taken as typed or not at all: a folded text is never
  // compared nor stored. The boxes that hold such a character are emptied.
  QLineEdit* refused = nullptr;
  for (QLineEdit* box : {txtPasswordOld, txtPasswordNew, txtConferma}) {
    if (fromQExact(box->text())) continue;
    box->clear();
    if (!refused) refused = box;
  }
  if (refused) {
    services().message(this, foreignPasswordMessage());
    refused->setFocus();
    return;
  }
  PasswordChange outcome;
  try {
    outcome = changePassword(passwordStorePath(programFolder()), fromQ(txtPasswordOld->text()),
                             fromQ(txtPasswordNew->text()), fromQ(txtConferma->text()));
  } catch (const std::exception&) {
    services().message(this, changeErrorMessage());
    return;
  }
  switch (outcome) {
    case PasswordChange::WrongOldPassword:
      services().message(this, QStringLiteral("Attenzione: vecchia password errata."));
      txtPasswordOld->clear();
      txtPasswordOld->setFocus();
      return;
    case PasswordChange::NotConfirmed:
      services().message(this, QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. "
                                              "E' necessario reinserire entrambi i valori."));
      txtPasswordNew->clear();
      txtConferma->clear();
      txtPasswordNew->setFocus();
      return;
    case PasswordChange::InvalidNewPassword:
      // Not reachable from the boxes (OK needs three non-blank entries of at
      // most 230 characters); the store stays as it was.
      services().message(this, changeErrorMessage());
      return;
    case PasswordChange::Changed:
      services().message(this, QStringLiteral("Modifica della password avvenuta con successo."));
      accept();
      return;
  }
}

void TfrmCambiaPassword::cmdEsciClick() { reject(); }

void TfrmCambiaPassword::FormShow() {
  txtPasswordOld->clear();
  txtPasswordNew->clear();
  txtConferma->clear();
  lblMemory->clear();
  txtPasswordOld->setFocus();
}

namespace {

LoginWindow* loginWindow() { return dynamic_cast<LoginWindow*>(navigation().window(WindowId::Login)); }

}  // namespace

void TfrmCambiaPassword::FormClose() {
  LoginWindow* login = loginWindow();
  if (!login) return;
  login->showAgain();
  login->focusPassword();
}

void TfrmCambiaPassword::done(int result) {
  // The login window is shown before this one goes, so that the program never
  // finds itself without a visible window (which would end it).
  FormClose();
  Dialog::done(result);
  if (LoginWindow* login = loginWindow()) {
    if (auto* window = dynamic_cast<QWidget*>(login)) window->activateWindow();
    login->focusPassword();
  }
}

bool TfrmCambiaPassword::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == txtPasswordOld) return txtPasswordOldKeyPress(key);
    if (watched == txtPasswordNew) return txtPasswordNewKeyPress(key);
    if (watched == txtConferma) return txtConfermaKeyPress(key);
  }
  return Dialog::eventFilter(watched, event);
}

void TfrmCambiaPassword::showEvent(QShowEvent* event) {
  Dialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

}  // namespace zel
