#include "attach/cartellades.h"

namespace zel {

TfrmCartellaDes::TfrmCartellaDes(QWidget* parent)
    : FolderWindow(QStringLiteral("frmCartellaDes"), QStringLiteral(" Associa cartella"), parent) {}

}  // namespace zel
