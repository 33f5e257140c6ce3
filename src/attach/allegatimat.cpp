#include "attach/allegatimat.h"

namespace zel {

TfrmAllegatiMat::TfrmAllegatiMat(QWidget* parent)
    : AttachmentsWindow(QStringLiteral("frmAllegatiMat"), AttachCard::Product, parent) {}

}  // namespace zel
