#include "clients/cercadestinatari.h"

#include "ui/kit.h"

namespace zel {

TfrmCercaDestinatari::TfrmCercaDestinatari(QWidget* parent)
    : SearchWindow(QStringLiteral("frmCercaDestinatari"), QStringLiteral(" Ricerca clienti in archivio"), parent, uiFont(FontFamily::CourierNew, pt(8)), 1500) {}

// The criteria, the search and the pick come with the searches themselves.
QStringList TfrmCercaDestinatari::search() { return {}; }
void TfrmCercaDestinatari::pick(const QString&) {}

}  // namespace zel
