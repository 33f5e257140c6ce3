#pragma once
#include "attach/attachwindows.h"

namespace zel {

class TfrmCartellaMat : public FolderWindow {
  Q_OBJECT
 public:
  explicit TfrmCartellaMat(QWidget* parent = nullptr);
};

}  // namespace zel
