#include "attach/allegatifor.h"

namespace zel {

TfrmAllegatiFor::TfrmAllegatiFor(QWidget* parent)
    : AttachmentsWindow(QStringLiteral("frmAllegatiFor"), AttachCard::Supply, parent) {}

}  // namespace zel
