#pragma once

#include "ui/dialog.h"

namespace zel {

class TfrmSplash : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmSplash(QWidget* parent = nullptr);
};

}  // namespace zel
