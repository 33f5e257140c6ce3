#include "checks/iban.h"

#include "checks/core/iban.h"

namespace zel {
namespace {

// The box is wide enough to show the longest IBAN (34 characters) whole.
const CheckWindowData kIban = {
    "frmIban",
    " Controllo coordinate bancarie IBAN",
    ":/art/chk_iban.png",
    "txtCodice",
    "lblInfo",
    "cmdCheckIban",
    "Immettere il codice IBAN nella casella sottostante e premere il pulsante di",
    "controllo.",
    560,
    static_cast<int>(iban::kMaxLength),
    /*upperCase=*/true,
    /*digitsOnly=*/false,
    /*handCursor=*/false,
    /*backgroundName=*/"shpSfondo",
    iban::canCheck,
    ibanResult,
};

}  // namespace

TfrmIban::TfrmIban(QWidget* parent) : CheckWindow(kIban, parent) {}

}  // namespace zel
