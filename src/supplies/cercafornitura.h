#pragma once
#include "ui/searchwindow.h"

namespace zel {

// The supply item search.
class TfrmCercaFornitura : public SearchWindow {
  Q_OBJECT
 public:
  explicit TfrmCercaFornitura(QWidget* parent = nullptr);

 protected:
  QStringList search() override;
  void pick(const QString& line) override;
};

}  // namespace zel
