#include "attach/cartellades.h"

namespace zel {

TfrmCartellaDes::TfrmCartellaDes(QWidget* parent)
    : Dialog(QStringLiteral("frmCartellaDes"), QStringLiteral(" Associa cartella"), parent) {
  txtFile01 = new QLineEdit(this);
  txtFile01->setObjectName(QStringLiteral("txtFile01"));
  txtDesc01 = new QLineEdit(this);
  txtDesc01->setObjectName(QStringLiteral("txtDesc01"));
}

}  // namespace zel
