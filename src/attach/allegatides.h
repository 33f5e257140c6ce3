#pragma once
#include <QLineEdit>

#include "ui/dialog.h"

namespace zel {

class TfrmAllegatiDes : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmAllegatiDes(QWidget* parent = nullptr);

  QLineEdit* txtFile01;
  QLineEdit* txtFile02;
  QLineEdit* txtFile03;
  QLineEdit* txtDesc01;
  QLineEdit* txtDesc02;
  QLineEdit* txtDesc03;
};

}  // namespace zel
