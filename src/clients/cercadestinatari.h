#pragma once
#include "ui/searchwindow.h"

namespace zel {

// The client search.
class TfrmCercaDestinatari : public SearchWindow {
  Q_OBJECT
 public:
  explicit TfrmCercaDestinatari(QWidget* parent = nullptr);

 protected:
  QStringList search() override;
  void pick(const QString& line) override;
};

}  // namespace zel
