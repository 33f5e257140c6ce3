#pragma once
#include "ui/checkwindow.h"

namespace zel {

// Checks the IBAN handed over by the client card.
class TfrmIban : public CheckWindow {
  Q_OBJECT
 public:
  explicit TfrmIban(QWidget* parent = nullptr);

  QLineEdit* const txtCodice = field();
  QLabel* const lblInfo = info1();
  QLabel* const lblInfo02 = info2();
  QPushButton* const cmdCheckIban = checkButton();
  QWidget* const shpSfondo = background();
};

}  // namespace zel
