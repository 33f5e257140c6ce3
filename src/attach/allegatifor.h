#pragma once
#include "attach/attachwindows.h"

namespace zel {

class TfrmAllegatiFor : public AttachmentsWindow {
  Q_OBJECT
 public:
  explicit TfrmAllegatiFor(QWidget* parent = nullptr);
};

}  // namespace zel
