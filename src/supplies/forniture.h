#pragma once

#include "ui/mainscreen.h"

namespace zel {

class TfrmForniture : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmForniture(QWidget* parent = nullptr);
};

}  // namespace zel
