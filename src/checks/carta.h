#pragma once
#include "ui/checkwindow.h"

namespace zel {

// Checks the credit card number handed over by the client card.
class TfrmCarta : public CheckWindow {
  Q_OBJECT
 public:
  explicit TfrmCarta(QWidget* parent = nullptr);

  QLineEdit* const txtNumero = field();
  QLabel* const lblInfo01 = info1();
  QLabel* const lblInfo02 = info2();
  QPushButton* const cmdControllo = checkButton();
};

}  // namespace zel
