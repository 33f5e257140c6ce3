#pragma once

#include "ui/mainscreen.h"

namespace zel {

class TfrmCrea : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmCrea(QWidget* parent = nullptr);
};

}  // namespace zel
