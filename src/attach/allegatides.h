#pragma once
#include "ui/attachwindow.h"

namespace zel {

class TfrmAllegatiDes : public AttachmentsWindow {
  Q_OBJECT
 public:
  explicit TfrmAllegatiDes(QWidget* parent = nullptr);
};

}  // namespace zel
