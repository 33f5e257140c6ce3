#include "checks/carta.h"

namespace zel {

TfrmCarta::TfrmCarta(QWidget* parent)
    : Dialog(QStringLiteral("frmCarta"), QStringLiteral(" Controllo carta di credito"), parent) {
  txtNumero = new QLineEdit(this);
  txtNumero->setObjectName(QStringLiteral("txtNumero"));
}

}  // namespace zel
