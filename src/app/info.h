#pragma once

#include "ui/dialog.h"

namespace zel {

class TfrmInfo : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmInfo(QWidget* parent = nullptr);
};

}  // namespace zel
