#include "checks/iban.h"

namespace zel {

TfrmIban::TfrmIban(QWidget* parent)
    : Dialog(QStringLiteral("frmIban"), QStringLiteral(" Controllo coordinate bancarie IBAN"), parent) {
  txtCodice = new QLineEdit(this);
  txtCodice->setObjectName(QStringLiteral("txtCodice"));
}

}  // namespace zel
