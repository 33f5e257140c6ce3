#include "app/avvio.h"

namespace zel {

TfrmAvvio::TfrmAvvio(QWidget* parent)
    : MainScreen(QStringLiteral("frmAvvio"), QStringLiteral(" Zelvano"), parent) {
}

}  // namespace zel
