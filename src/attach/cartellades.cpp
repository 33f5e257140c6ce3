#include "attach/cartellades.h"

namespace zel {

TfrmCartellaDes::TfrmCartellaDes(QWidget* parent)
    : FolderWindow(QStringLiteral("frmCartellaDes"), AttachCard::Client, parent) {}

}  // namespace zel
