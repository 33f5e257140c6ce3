#include "attach/cartellafor.h"

namespace zel {

TfrmCartellaFor::TfrmCartellaFor(QWidget* parent)
    : Dialog(QStringLiteral("frmCartellaFor"), QStringLiteral(" Associa cartella"), parent) {
  txtFile01 = new QLineEdit(this);
  txtFile01->setObjectName(QStringLiteral("txtFile01"));
  txtDesc01 = new QLineEdit(this);
  txtDesc01->setObjectName(QStringLiteral("txtDesc01"));
}

}  // namespace zel
