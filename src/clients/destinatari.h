#pragma once

#include "ui/mainscreen.h"

namespace zel {

class TfrmDestinatari : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmDestinatari(QWidget* parent = nullptr);
};

}  // namespace zel
