#pragma once
#include <QLineEdit>

#include "ui/dialog.h"

namespace zel {

class TfrmCarta : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmCarta(QWidget* parent = nullptr);

  QLineEdit* txtNumero;
};

}  // namespace zel
