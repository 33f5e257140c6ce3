#include "attach/cartellafor.h"

namespace zel {

TfrmCartellaFor::TfrmCartellaFor(QWidget* parent)
    : FolderWindow(QStringLiteral("frmCartellaFor"), AttachCard::Supply, parent) {}

}  // namespace zel
