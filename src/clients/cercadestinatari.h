#pragma once
#include <QLabel>

#include "ui/dialog.h"

namespace zel {

class TfrmCercaDestinatari : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmCercaDestinatari(QWidget* parent = nullptr);

  QLabel* lblMemory;
};

}  // namespace zel
