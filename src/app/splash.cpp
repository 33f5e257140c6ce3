#include "app/splash.h"

namespace zel {

TfrmSplash::TfrmSplash(QWidget* parent)
    : Dialog(QStringLiteral("frmSplash"), QStringLiteral(" Zelvano - Credits"), parent) {
}

}  // namespace zel
