#pragma once
#include <QLineEdit>

#include "ui/dialog.h"

namespace zel {

class TfrmCartellaMat : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmCartellaMat(QWidget* parent = nullptr);

  QLineEdit* txtFile01;
  QLineEdit* txtDesc01;
};

}  // namespace zel
