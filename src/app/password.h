#pragma once

#include "ui/dialog.h"

namespace zel {

class TfrmPassword : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmPassword(QWidget* parent = nullptr);
};

}  // namespace zel
