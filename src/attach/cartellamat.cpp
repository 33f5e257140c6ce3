#include "attach/cartellamat.h"

namespace zel {

TfrmCartellaMat::TfrmCartellaMat(QWidget* parent)
    : FolderWindow(QStringLiteral("frmCartellaMat"), QStringLiteral(" Associa cartella"), parent) {}

}  // namespace zel
