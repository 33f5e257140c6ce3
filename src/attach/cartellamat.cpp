#include "attach/cartellamat.h"

namespace zel {

TfrmCartellaMat::TfrmCartellaMat(QWidget* parent)
    : FolderWindow(QStringLiteral("frmCartellaMat"), AttachCard::Product, parent) {}

}  // namespace zel
