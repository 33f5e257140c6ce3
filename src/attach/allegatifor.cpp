#include "attach/allegatifor.h"

namespace zel {

TfrmAllegatiFor::TfrmAllegatiFor(QWidget* parent)
    : AttachmentsWindow(QStringLiteral("frmAllegatiFor"), QStringLiteral(" File allegati"), parent) {}

}  // namespace zel
