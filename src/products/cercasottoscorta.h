#pragma once
#include <QLabel>

#include "ui/listwindow.h"

namespace zel {

// The under-stock list: every product at or below its threshold, listed as
// the window appears; a picked product goes into the product card.
class TfrmCercaSottoscorta : public ListWindow {
  Q_OBJECT
 public:
  explicit TfrmCercaSottoscorta(QWidget* parent = nullptr);

 protected:
  TextList buildList(const Progress& progress) override;
  void pick(const std::optional<Text>& line) override;

 private:
  QGroupBox* grpElenco;
  QLabel* imgTitolo;
  QPushButton* cmdAnnulla;
};

}  // namespace zel
