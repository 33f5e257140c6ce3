#pragma once
#include "ui/exportwindow.h"

namespace zel {

// The export of the products and services archive to Word and Excel.
class TfrmEsportaMat : public ExportWindow {
  Q_OBJECT
 public:
  explicit TfrmEsportaMat(QWidget* parent = nullptr);

 protected:
  std::filesystem::path archiveFile() const override;
};

}  // namespace zel
