#include "products/impmateriali.h"

namespace zel {

TfrmImpMateriali::TfrmImpMateriali(QWidget* parent)
    : Dialog(QStringLiteral("frmImpMateriali"), QStringLiteral(" Importa prodotti e servizi da archivio"), parent) {
}

}  // namespace zel
