#include "checks/codfisc.h"

namespace zel {

TfrmCodFisc::TfrmCodFisc(QWidget* parent)
    : CheckWindow(QStringLiteral("frmCodFisc"),
                  QStringLiteral(" Controllo codice fiscale"), parent, "txtCodice", "lblInfo", "cmdCodFisc", 16) {}

void TfrmCodFisc::runCheck() {
  // The check and its result box come with the identifier rules.
}

}  // namespace zel
