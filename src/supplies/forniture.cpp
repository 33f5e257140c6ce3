#include "supplies/forniture.h"

namespace zel {

TfrmForniture::TfrmForniture(QWidget* parent)
    : MainScreen(QStringLiteral("frmForniture"), QStringLiteral(" Zelvano ©"), parent) {
}

}  // namespace zel
