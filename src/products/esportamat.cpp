#include "products/esportamat.h"

namespace zel {

TfrmEsportaMat::TfrmEsportaMat(QWidget* parent)
    : Dialog(QStringLiteral("frmEsportaMat"), QStringLiteral(" Esportazione archivio prodotti e servizi in Microsoft Word ed Excel"), parent) {
}

}  // namespace zel
