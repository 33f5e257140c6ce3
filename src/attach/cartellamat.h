#pragma once
#include "ui/attachwindow.h"

namespace zel {

class TfrmCartellaMat : public FolderWindow {
  Q_OBJECT
 public:
  explicit TfrmCartellaMat(QWidget* parent = nullptr);
};

}  // namespace zel
