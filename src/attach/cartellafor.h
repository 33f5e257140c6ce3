#pragma once
#include <QLineEdit>

#include "ui/dialog.h"

namespace zel {

class TfrmCartellaFor : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmCartellaFor(QWidget* parent = nullptr);

  QLineEdit* txtFile01;
  QLineEdit* txtDesc01;
};

}  // namespace zel
