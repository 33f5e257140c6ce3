#pragma once
#include "ui/attachwindow.h"

namespace zel {

class TfrmCartellaDes : public FolderWindow {
  Q_OBJECT
 public:
  explicit TfrmCartellaDes(QWidget* parent = nullptr);
};

}  // namespace zel
