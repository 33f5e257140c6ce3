#pragma once

#include "ui/dialog.h"

namespace zel {

class TfrmImpMateriali : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmImpMateriali(QWidget* parent = nullptr);
};

}  // namespace zel
