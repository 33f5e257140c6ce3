#include "attach/allegatides.h"

namespace zel {

TfrmAllegatiDes::TfrmAllegatiDes(QWidget* parent)
    : AttachmentsWindow(QStringLiteral("frmAllegatiDes"), QStringLiteral(" File allegati"), parent) {}

}  // namespace zel
