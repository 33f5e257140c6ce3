#pragma once
// The login window: the program's main window and the first one shown. A
// correct password opens the start screen; from here the user can also go to
// the change-password window or leave the program.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "app/login.h"
#include "ui/dialog.h"

namespace zel {

class TfrmPassword : public Dialog, public LoginWindow {
  Q_OBJECT
 public:
  explicit TfrmPassword(QWidget* parent = nullptr);

  // Back from the password change: the box and the work field empty, the
  // window shown and active.
  void showAgain() override;
  // The keyboard back in the password box.
  void focusPassword() override;

  // Every way of closing the login window ends the program.
  void done(int result) override;

 public slots:
  void txtPasswordChange();
  void cmdOKClick();
  void btnCambiaPasswordClick();
  void cmdEsciClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QGroupBox* grpPassword;
  QLabel* imgLogo01;
  QLabel* imgLogo02;
  QLabel* lblInfo;
  QLineEdit* txtPassword;
  QPushButton* cmdOK;
  QPushButton* btnCambiaPassword;
  QPushButton* cmdEsci;
  QLabel* lblMemory;  // hidden work field

  // Enter in the password field; true when the key was handled.
  bool txtPasswordKeyPress(QKeyEvent* key);
};

}  // namespace zel
