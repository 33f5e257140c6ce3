#include "clients/cercadestinatari.h"

namespace zel {

TfrmCercaDestinatari::TfrmCercaDestinatari(QWidget* parent)
    : Dialog(QStringLiteral("frmCercaDestinatari"), QStringLiteral(" Ricerca clienti in archivio"), parent) {
  lblMemory = new QLabel(this);
  lblMemory->setObjectName(QStringLiteral("lblMemory"));
  lblMemory->setVisible(false);
}

}  // namespace zel
