#include "checks/iva.h"

namespace zel {

TfrmIva::TfrmIva(QWidget* parent)
    : Dialog(QStringLiteral("frmIva"), QStringLiteral(" Controllo partita IVA "), parent) {
  txtCodice = new QLineEdit(this);
  txtCodice->setObjectName(QStringLiteral("txtCodice"));
  lblInfo = new QLabel(this);
  lblInfo->setObjectName(QStringLiteral("lblInfo"));
  lblInfo02 = new QLabel(this);
  lblInfo02->setObjectName(QStringLiteral("lblInfo02"));
}

}  // namespace zel
