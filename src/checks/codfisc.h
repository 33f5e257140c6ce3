#pragma once
#include <QLineEdit>

#include "ui/dialog.h"

namespace zel {

class TfrmCodFisc : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmCodFisc(QWidget* parent = nullptr);

  QLineEdit* txtCodice;
};

}  // namespace zel
