#pragma once
#include <QLabel>

#include "ui/dialog.h"

namespace zel {

class TfrmCercaMateriale : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmCercaMateriale(QWidget* parent = nullptr);

  QLabel* lblMemory;
};

}  // namespace zel
