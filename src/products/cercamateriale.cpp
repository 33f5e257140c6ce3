#include "products/cercamateriale.h"

namespace zel {

TfrmCercaMateriale::TfrmCercaMateriale(QWidget* parent)
    : Dialog(QStringLiteral("frmCercaMateriale"), QStringLiteral(" Ricerca prodotti e servizi in archivio"), parent) {
  lblMemory = new QLabel(this);
  lblMemory->setObjectName(QStringLiteral("lblMemory"));
  lblMemory->setVisible(false);
}

}  // namespace zel
