#include "checks/codfisc.h"

#include "checks/core/codfisc.h"

namespace zel {
namespace {

const CheckWindowData kCodFisc = {
    "frmCodFisc",
    " Controllo codice fiscale",
    ":/art/chk_codfisc.png",
    "txtCodice",
    "lblInfo",
    "cmdCodFisc",
    "Immettere il codice fiscale nella casella sottostante e premere il",
    "pulsante di controllo.",
    470,
    static_cast<int>(codfisc::kLength),
    /*upperCase=*/true,
    /*digitsOnly=*/false,
    /*handCursor=*/true,
    /*backgroundName=*/nullptr,
    codfisc::canCheck,
    codFiscButtonResult,
    codfisc::enterChecks,
};

}  // namespace

TfrmCodFisc::TfrmCodFisc(QWidget* parent) : CheckWindow(kCodFisc, parent) {}

}  // namespace zel
