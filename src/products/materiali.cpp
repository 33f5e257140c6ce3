#include "products/materiali.h"

namespace zel {

TfrmMateriali::TfrmMateriali(QWidget* parent)
    : MainScreen(QStringLiteral("frmMateriali"), QStringLiteral(" Zelvano © - Prodotti e servizi"), parent) {
}

}  // namespace zel
