#pragma once
#include "ui/checkwindow.h"

namespace zel {

// Checks the partita IVA handed over by the client card.
class TfrmIva : public CheckWindow {
  Q_OBJECT
 public:
  explicit TfrmIva(QWidget* parent = nullptr);

  // The same window offered for a codice fiscale made of digits only: its
  // caption and instructions speak of both.
  void relabelForNumericTaxCode();
};

}  // namespace zel
