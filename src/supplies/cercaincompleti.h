#pragma once
#include <QLabel>

#include "ui/listwindow.h"

namespace zel {

// The pending payments of the open supply (the file the supply sheet's
// lblFile names), in record order with the total of their amounts, built
// afresh at every showing; a picked item goes into the sheet.
class TfrmCercaIncompleti : public ListWindow {
  Q_OBJECT
 public:
  explicit TfrmCercaIncompleti(QWidget* parent = nullptr);

 protected:
  TextList buildList(const Progress& progress) override;
  void pick(const std::optional<Text>& line) override;
  QString supplyName() const override;
  QString total() const override { return repTotale->text(); }

 private:
  QGroupBox* grpElenco;
  QLabel* imgDecorazione;
  QLabel* lblTotale;
  QLabel* repTotale;
  QPushButton* cmdAnnulla;
};

}  // namespace zel
