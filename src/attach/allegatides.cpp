#include "attach/allegatides.h"

namespace zel {

TfrmAllegatiDes::TfrmAllegatiDes(QWidget* parent)
    : AttachmentsWindow(QStringLiteral("frmAllegatiDes"), AttachCard::Client, parent) {}

}  // namespace zel
