#pragma once
#include "ui/checkwindow.h"

namespace zel {

// Checks the codice fiscale handed over by the client card.
class TfrmCodFisc : public CheckWindow {
  Q_OBJECT
 public:
  explicit TfrmCodFisc(QWidget* parent = nullptr);
};

}  // namespace zel
