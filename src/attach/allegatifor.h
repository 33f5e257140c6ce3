#pragma once
#include "ui/attachwindow.h"

namespace zel {

class TfrmAllegatiFor : public AttachmentsWindow {
  Q_OBJECT
 public:
  explicit TfrmAllegatiFor(QWidget* parent = nullptr);
};

}  // namespace zel
