#include "attach/cartellamat.h"

namespace zel {

TfrmCartellaMat::TfrmCartellaMat(QWidget* parent)
    : Dialog(QStringLiteral("frmCartellaMat"), QStringLiteral(" Associa cartella"), parent) {
  txtFile01 = new QLineEdit(this);
  txtFile01->setObjectName(QStringLiteral("txtFile01"));
  txtDesc01 = new QLineEdit(this);
  txtDesc01->setObjectName(QStringLiteral("txtDesc01"));
}

}  // namespace zel
