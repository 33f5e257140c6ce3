#pragma once
#include <QLineEdit>

#include "ui/dialog.h"

namespace zel {

class TfrmIban : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmIban(QWidget* parent = nullptr);

  QLineEdit* txtCodice;
};

}  // namespace zel
