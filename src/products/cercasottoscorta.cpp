#include "products/cercasottoscorta.h"

namespace zel {

TfrmCercaSottoscorta::TfrmCercaSottoscorta(QWidget* parent)
    : Dialog(QStringLiteral("frmCercaSottoscorta"), QStringLiteral(" Prodotti in esaurimento"), parent) {
}

}  // namespace zel
