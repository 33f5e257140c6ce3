#pragma once
#include <QLabel>
#include <QLineEdit>

#include "ui/dialog.h"

namespace zel {

class TfrmIva : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmIva(QWidget* parent = nullptr);

  QLineEdit* txtCodice;
  QLabel* lblInfo;
  QLabel* lblInfo02;
};

}  // namespace zel
