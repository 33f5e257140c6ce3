#include "clients/esportades.h"

namespace zel {

TfrmEsportaDes::TfrmEsportaDes(QWidget* parent)
    : Dialog(QStringLiteral("frmEsportaDes"), QStringLiteral(" Esportazione archivio anagrafico clienti in Microsoft Word ed Excel"), parent) {
}

}  // namespace zel
