#pragma once
#include <QLineEdit>

#include "ui/dialog.h"

namespace zel {

class TfrmCartellaDes : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmCartellaDes(QWidget* parent = nullptr);

  QLineEdit* txtFile01;
  QLineEdit* txtDesc01;
};

}  // namespace zel
