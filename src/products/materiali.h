#pragma once

#include "ui/mainscreen.h"

namespace zel {

class TfrmMateriali : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmMateriali(QWidget* parent = nullptr);
};

}  // namespace zel
