#pragma once

#include "ui/dialog.h"

namespace zel {

class TfrmEsportaFor : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmEsportaFor(QWidget* parent = nullptr);
};

}  // namespace zel
