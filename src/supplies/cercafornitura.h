#pragma once
#include <QLineEdit>

#include "ui/searchwindow.h"

namespace zel {


// The supply item search: nine criteria over the open supply (the file the
// supply sheet's lblFile names); a picked item goes into the sheet.
class TfrmCercaFornitura : public SearchWindow {
  Q_OBJECT
 public:
  explicit TfrmCercaFornitura(QWidget* parent = nullptr);

 protected:
  TextList search(const Criteria& criteria, const Progress& progress) override;
  void pick(const Text& line) override;
  QString supplyName() const override;
};

}  // namespace zel
