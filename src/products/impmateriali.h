#pragma once
#include <QLineEdit>

#include "ui/dialog.h"

namespace zel {

class TfrmImpMateriali : public Dialog {
  Q_OBJECT
 public:
  explicit TfrmImpMateriali(QWidget* parent = nullptr);

  // The quantity to deduct from the stock; the supply sheet hands over its
  // own quantity before showing the window.
  void setQuantity(const QString& quantity);
  QString quantity() const;

  QLineEdit* txtQuant;
};

}  // namespace zel
