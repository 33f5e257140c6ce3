#include "supplies/cercafornitura.h"

#include "ui/kit.h"

namespace zel {

TfrmCercaFornitura::TfrmCercaFornitura(QWidget* parent)
    : SearchWindow(QStringLiteral("frmCercaFornitura"), QStringLiteral(" Ricerca prodotti e servizi forniti"), parent, uiFont(FontFamily::CourierNew, px(11)), 1500) {}

// The criteria, the search and the pick come with the searches themselves.
QStringList TfrmCercaFornitura::search() { return {}; }
void TfrmCercaFornitura::pick(const QString&) {}

}  // namespace zel
