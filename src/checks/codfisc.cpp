#include "checks/codfisc.h"

namespace zel {

TfrmCodFisc::TfrmCodFisc(QWidget* parent)
    : Dialog(QStringLiteral("frmCodFisc"), QStringLiteral(" Controllo codice fiscale"), parent) {
  txtCodice = new QLineEdit(this);
  txtCodice->setObjectName(QStringLiteral("txtCodice"));
}

}  // namespace zel
