#pragma once

#include "ui/mainscreen.h"

namespace zel {

class TfrmAccedi : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmAccedi(QWidget* parent = nullptr);
};

}  // namespace zel
