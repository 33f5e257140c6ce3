#include "clients/destinatari.h"

namespace zel {

TfrmDestinatari::TfrmDestinatari(QWidget* parent)
    : MainScreen(QStringLiteral("frmDestinatari"), QStringLiteral(" Zelvano © - Anagrafica clienti"), parent) {
}

}  // namespace zel
