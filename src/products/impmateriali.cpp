#include "products/impmateriali.h"

#include "ui/kit.h"

namespace zel {

TfrmImpMateriali::TfrmImpMateriali(QWidget* parent)
    : ListWindow(QStringLiteral("frmImpMateriali"), QStringLiteral(" Importa prodotti e servizi da archivio"), parent, uiFont(FontFamily::CourierNew, px(11)), 1300) {
  txtQuant = new QLineEdit(QStringLiteral("0"), this);
  txtQuant->setObjectName(QStringLiteral("txtQuant"));
  txtQuant->setMaxLength(15);
}

int TfrmImpMateriali::importWith(const QString& quantity) {
  txtQuant->setText(quantity);
  return showModal();
}

// The list itself comes with the lists of the archives.
QStringList TfrmImpMateriali::buildList() { return {}; }

}  // namespace zel
