#pragma once

#include "ui/dialog.h"

namespace zel {

class TfrmCercaSottoscorta : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmCercaSottoscorta(QWidget* parent = nullptr);
};

}  // namespace zel
