#pragma once

#include "ui/dialog.h"

namespace zel {

class TfrmHelpForm : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmHelpForm(QWidget* parent = nullptr);
};

}  // namespace zel
