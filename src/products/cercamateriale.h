#pragma once
#include <QLineEdit>

#include "ui/searchwindow.h"

namespace zel {

// The product search: seven criteria over Materiali.pro; a picked product
// goes into the product card.
class TfrmCercaMateriale : public SearchWindow {
  Q_OBJECT
 public:
  explicit TfrmCercaMateriale(QWidget* parent = nullptr);

 protected:
  TextList search(const Criteria& criteria, const Progress& progress) override;
  void pick(const Text& line) override;
};

}  // namespace zel
