#pragma once
#include "ui/searchwindow.h"

namespace zel {

// The product search.
class TfrmCercaMateriale : public SearchWindow {
  Q_OBJECT
 public:
  explicit TfrmCercaMateriale(QWidget* parent = nullptr);

 protected:
  QStringList search() override;
  void pick(const QString& line) override;
};

}  // namespace zel
