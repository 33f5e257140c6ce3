#include "checks/carta.h"

namespace zel {

TfrmCarta::TfrmCarta(QWidget* parent)
    : CheckWindow(QStringLiteral("frmCarta"),
                  QStringLiteral(" Controllo carta di credito"), parent, "txtNumero", "lblInfo01", "cmdControllo", 13) {}

void TfrmCarta::runCheck() {
  // The check and its result box come with the identifier rules.
}

}  // namespace zel
