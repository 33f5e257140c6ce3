#include "checks/iva.h"

namespace zel {

TfrmIva::TfrmIva(QWidget* parent)
    : CheckWindow(QStringLiteral("frmIva"),
                  QStringLiteral(" Controllo partita IVA "), parent, "txtCodice", "lblInfo", "cmdPartitaIva", 11) {}

void TfrmIva::relabelForNumericTaxCode() {
  setWindowTitle(QStringLiteral(" Controllo codice fiscale numerico / partita IVA"));
  lblInfo->setText(QStringLiteral("Immettere il codice fiscale numerico o la partita IVA nella casella"));
  lblInfo02->setText(QStringLiteral("sottostante e premere il pulsante di controllo."));
}

void TfrmIva::runCheck() {
  // The check and its result box come with the identifier rules.
}

}  // namespace zel
