#pragma once
#include "ui/checkwindow.h"

namespace zel {

// Checks the IBAN handed over by the client card.
class TfrmIban : public CheckWindow {
  Q_OBJECT
 public:
  explicit TfrmIban(QWidget* parent = nullptr);
};

}  // namespace zel
