#pragma once
#include "ui/exportwindow.h"

namespace zel {

// The export of the items of the open supply to Word and Excel.
class TfrmEsportaFor : public ExportWindow {
  Q_OBJECT
 public:
  explicit TfrmEsportaFor(QWidget* parent = nullptr);

 protected:
  std::filesystem::path archiveFile() const override;
  ArchiveAccess archiveAccess() const override { return ArchiveAccess::Existing; }
};

}  // namespace zel
