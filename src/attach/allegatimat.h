#pragma once
#include "attach/attachwindows.h"

namespace zel {

class TfrmAllegatiMat : public AttachmentsWindow {
  Q_OBJECT
 public:
  explicit TfrmAllegatiMat(QWidget* parent = nullptr);
};

}  // namespace zel
