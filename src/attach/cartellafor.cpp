#include "attach/cartellafor.h"

namespace zel {

TfrmCartellaFor::TfrmCartellaFor(QWidget* parent)
    : FolderWindow(QStringLiteral("frmCartellaFor"), QStringLiteral(" Associa cartella"), parent) {}

}  // namespace zel
