#include "supplies/cercafornitura.h"

namespace zel {

TfrmCercaFornitura::TfrmCercaFornitura(QWidget* parent)
    : Dialog(QStringLiteral("frmCercaFornitura"), QStringLiteral(" Ricerca prodotti e servizi forniti"), parent) {
  lblMemory = new QLabel(this);
  lblMemory->setObjectName(QStringLiteral("lblMemory"));
  lblMemory->setVisible(false);
}

}  // namespace zel
