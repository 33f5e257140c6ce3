#pragma once

#include "ui/mainscreen.h"

namespace zel {

class TfrmAvvio : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmAvvio(QWidget* parent = nullptr);
};

}  // namespace zel
