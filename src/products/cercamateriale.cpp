#include "products/cercamateriale.h"

#include "ui/kit.h"

namespace zel {

TfrmCercaMateriale::TfrmCercaMateriale(QWidget* parent)
    : SearchWindow(QStringLiteral("frmCercaMateriale"), QStringLiteral(" Ricerca prodotti e servizi in archivio"), parent, uiFont(FontFamily::CourierNew, px(11)), 3000) {}

// The criteria, the search and the pick come with the searches themselves.
QStringList TfrmCercaMateriale::search() { return {}; }
void TfrmCercaMateriale::pick(const QString&) {}

}  // namespace zel
