#pragma once
#include "ui/attachwindow.h"

namespace zel {

class TfrmCartellaFor : public FolderWindow {
  Q_OBJECT
 public:
  explicit TfrmCartellaFor(QWidget* parent = nullptr);
};

}  // namespace zel
