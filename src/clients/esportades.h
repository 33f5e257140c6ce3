#pragma once

#include "ui/dialog.h"

namespace zel {

class TfrmEsportaDes : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmEsportaDes(QWidget* parent = nullptr);
};

}  // namespace zel
