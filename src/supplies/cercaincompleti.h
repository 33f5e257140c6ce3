#pragma once
#include <QLineEdit>

#include "ui/listwindow.h"

namespace zel {

// The pending payments of the open supply, with their total.
class TfrmCercaIncompleti : public ListWindow {
  Q_OBJECT
 public:
  explicit TfrmCercaIncompleti(QWidget* parent = nullptr);

  QPushButton* cmdAnnulla;

 protected:
  QStringList buildList() override;
};

}  // namespace zel
