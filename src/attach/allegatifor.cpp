#include "attach/allegatifor.h"

namespace zel {

TfrmAllegatiFor::TfrmAllegatiFor(QWidget* parent)
    : Dialog(QStringLiteral("frmAllegatiFor"), QStringLiteral(" File allegati"), parent) {
  txtFile01 = new QLineEdit(this);
  txtFile01->setObjectName(QStringLiteral("txtFile01"));
  txtFile02 = new QLineEdit(this);
  txtFile02->setObjectName(QStringLiteral("txtFile02"));
  txtFile03 = new QLineEdit(this);
  txtFile03->setObjectName(QStringLiteral("txtFile03"));
  txtDesc01 = new QLineEdit(this);
  txtDesc01->setObjectName(QStringLiteral("txtDesc01"));
  txtDesc02 = new QLineEdit(this);
  txtDesc02->setObjectName(QStringLiteral("txtDesc02"));
  txtDesc03 = new QLineEdit(this);
  txtDesc03->setObjectName(QStringLiteral("txtDesc03"));
}

}  // namespace zel
