#pragma once

#include "ui/dialog.h"

namespace zel {

class TfrmCercaIncompleti : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmCercaIncompleti(QWidget* parent = nullptr);
};

}  // namespace zel
