#pragma once
#include <QLineEdit>

#include "ui/listwindow.h"

namespace zel {

// The under-stock list: every product at or below its threshold.
class TfrmCercaSottoscorta : public ListWindow {
  Q_OBJECT
 public:
  explicit TfrmCercaSottoscorta(QWidget* parent = nullptr);

  QPushButton* cmdAnnulla;

 protected:
  QStringList buildList() override;
};

}  // namespace zel
