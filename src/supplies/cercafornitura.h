#pragma once
#include <QLabel>

#include "ui/dialog.h"

namespace zel {

class TfrmCercaFornitura : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmCercaFornitura(QWidget* parent = nullptr);

  QLabel* lblMemory;
};

}  // namespace zel
