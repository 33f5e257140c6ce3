#include "attach/allegatimat.h"

namespace zel {

TfrmAllegatiMat::TfrmAllegatiMat(QWidget* parent)
    : AttachmentsWindow(QStringLiteral("frmAllegatiMat"), QStringLiteral(" Allega file"), parent) {}

}  // namespace zel
