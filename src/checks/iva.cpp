#include "checks/iva.h"

#include "checks/core/partitaiva.h"

namespace zel {
namespace {

const CheckWindowData kIva = {
    "frmIva",
    " Controllo partita IVA ",
    ":/art/chk_iva.png",
    "txtCodice",
    "lblInfo",
    "cmdPartitaIva",
    "Immettere la partita IVA nella casella sottostante e premere il",
    "pulsante di controllo.",
    470,
    static_cast<int>(partitaiva::kLength),
    /*upperCase=*/false,
    /*digitsOnly=*/true,
    /*handCursor=*/true,
    /*backgroundName=*/nullptr,
    partitaiva::canCheck,
    partitaIvaButtonResult,
    partitaiva::enterChecks,
};

}  // namespace

TfrmIva::TfrmIva(QWidget* parent) : CheckWindow(kIva, parent) {}

void TfrmIva::relabelForNumericTaxCode() {
  setWindowTitle(QStringLiteral(" Controllo codice fiscale numerico / partita IVA"));
  info1()->setText(QStringLiteral("Immettere il codice fiscale numerico o la partita IVA nella casella"));
  info2()->setText(QStringLiteral("sottostante e premere il pulsante di controllo."));
}

}  // namespace zel
