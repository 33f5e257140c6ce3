#include "app/password.h"

namespace zel {

TfrmPassword::TfrmPassword(QWidget* parent)
    : Dialog(QStringLiteral("frmPassword"), QStringLiteral(" Zelvano - Autenticazione"), parent) {
}

}  // namespace zel
