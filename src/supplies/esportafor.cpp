#include "supplies/esportafor.h"

namespace zel {

TfrmEsportaFor::TfrmEsportaFor(QWidget* parent)
    : Dialog(QStringLiteral("frmEsportaFor"), QStringLiteral(" Esportazione archivio prodotti o servizi forniti in Microsoft Word ed Excel"), parent) {
}

}  // namespace zel
