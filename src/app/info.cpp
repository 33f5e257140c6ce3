#include "app/info.h"

namespace zel {

TfrmInfo::TfrmInfo(QWidget* parent)
    : Dialog(QStringLiteral("frmInfo"), QStringLiteral(" Informazioni su Zelvano ©"), parent) {
}

}  // namespace zel
