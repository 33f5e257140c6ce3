#pragma once

#include "ui/dialog.h"

namespace zel {

class TfrmCambiaPassword : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmCambiaPassword(QWidget* parent = nullptr);
};

}  // namespace zel
