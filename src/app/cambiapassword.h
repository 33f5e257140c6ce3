#pragma once
// The change-password window, reached from the login window. However it
// closes, the login window comes back with an empty password field.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/dialog.h"

namespace zel {

class TfrmCambiaPassword : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmCambiaPassword(QWidget* parent = nullptr);

  // Every way of closing (Esci, the close box, a completed change) runs
  // FormClose before the window goes.
  void done(int result) override;

 public slots:
  void txtPasswordOldChange();
  void txtPasswordNewChange();
  void txtConfermaChange();
  void cmdOKClick();
  void cmdEsciClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* lblPasswordOld;
  QLabel* lblPasswordNew;
  QLabel* lblConferma;
  QLineEdit* txtPasswordOld;
  QLineEdit* txtPasswordNew;
  QLineEdit* txtConferma;
  QPushButton* cmdOK;
  QPushButton* cmdEsci;
  QLabel* lblMemory;  // hidden work field

  void FormShow();
  void FormClose();
  void updateOK();
  // Enter in each box; true when the key was handled.
  bool txtPasswordOldKeyPress(QKeyEvent* key);
  bool txtPasswordNewKeyPress(QKeyEvent* key);
  bool txtConfermaKeyPress(QKeyEvent* key);
};

}  // namespace zel
