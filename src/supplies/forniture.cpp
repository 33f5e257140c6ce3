#include "supplies/forniture.h"

namespace zel {

TfrmForniture::TfrmForniture(QWidget* parent)
    : MainScreen(QStringLiteral("frmForniture"), QStringLiteral(" Zelvano ©"), parent) {
  lblFile = new QLabel(this);
  lblFile->setObjectName(QStringLiteral("lblFile"));
  lblFile->setVisible(false);
  panClasse = new QLabel(container());
  panClasse->setObjectName(QStringLiteral("panClasse"));
}

}  // namespace zel
