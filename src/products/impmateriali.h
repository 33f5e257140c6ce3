#pragma once
#include <QLineEdit>

#include "ui/listwindow.h"

namespace zel {

// The product import: a product of the archive fills the supply item and lowers its stock.
class TfrmImpMateriali : public ListWindow {
  Q_OBJECT
 public:
  explicit TfrmImpMateriali(QWidget* parent = nullptr);

  // Puts the sheet's quantity into the quantity box and shows the window.
  int importWith(const QString& quantity);

  QLineEdit* txtQuant;

 protected:
  QStringList buildList() override;
};

}  // namespace zel
