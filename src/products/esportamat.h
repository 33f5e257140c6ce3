#pragma once

#include "ui/dialog.h"

namespace zel {

class TfrmEsportaMat : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmEsportaMat(QWidget* parent = nullptr);
};

}  // namespace zel
