#pragma once
#include "ui/attachwindow.h"

namespace zel {

class TfrmAllegatiMat : public AttachmentsWindow {
  Q_OBJECT
 public:
  explicit TfrmAllegatiMat(QWidget* parent = nullptr);
};

}  // namespace zel
