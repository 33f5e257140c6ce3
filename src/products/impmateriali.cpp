#include "products/impmateriali.h"

namespace zel {

TfrmImpMateriali::TfrmImpMateriali(QWidget* parent)
    : Dialog(QStringLiteral("frmImpMateriali"), QStringLiteral(" Importa prodotti e servizi da archivio"), parent) {
  txtQuant = new QLineEdit(QStringLiteral("0"), this);
  txtQuant->setObjectName(QStringLiteral("txtQuant"));
  txtQuant->setMaxLength(15);
}

void TfrmImpMateriali::setQuantity(const QString& quantity) { txtQuant->setText(quantity); }

QString TfrmImpMateriali::quantity() const { return txtQuant->text(); }

}  // namespace zel
