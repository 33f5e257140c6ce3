#pragma once
#include "ui/checkwindow.h"

namespace zel {

// Checks the credit card number handed over by the client card.
class TfrmCarta : public CheckWindow {
  Q_OBJECT
 public:
  explicit TfrmCarta(QWidget* parent = nullptr);
};

}  // namespace zel
