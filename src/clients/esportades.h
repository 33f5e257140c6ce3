#pragma once
#include "ui/exportwindow.h"

namespace zel {

// The export of the client registry to Word and Excel.
class TfrmEsportaDes : public ExportWindow {
  Q_OBJECT
 public:
  explicit TfrmEsportaDes(QWidget* parent = nullptr);

 protected:
  std::filesystem::path archiveFile() const override;
};

}  // namespace zel
