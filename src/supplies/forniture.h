#pragma once
#include <QLabel>

#include "ui/mainscreen.h"

namespace zel {

class TfrmForniture : public MainScreen {
  Q_OBJECT
 public:
  explicit TfrmForniture(QWidget* parent = nullptr);

  // Set by the open-supply window: the supply file's full path (hidden) and
  // the supply's name in the title panel.
  QLabel* lblFile;
  QLabel* panClasse;
};

}  // namespace zel
