#include "checks/iban.h"

namespace zel {

TfrmIban::TfrmIban(QWidget* parent)
    : CheckWindow(QStringLiteral("frmIban"),
                  QStringLiteral(" Controllo coordinate bancarie IBAN"), parent, "txtCodice", "lblInfo", "cmdCheckIban", 27) {}

void TfrmIban::runCheck() {
  // The check and its result box come with the identifier rules.
}

}  // namespace zel
