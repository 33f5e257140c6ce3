#include "products/cercasottoscorta.h"

#include "ui/kit.h"

namespace zel {

TfrmCercaSottoscorta::TfrmCercaSottoscorta(QWidget* parent)
    : ListWindow(QStringLiteral("frmCercaSottoscorta"), QStringLiteral(" Prodotti in esaurimento"), parent, uiFont(FontFamily::CourierNew, px(11)), 1300) { cmdAnnulla = addCancelButton(); }

// The list itself comes with the lists of the archives.
QStringList TfrmCercaSottoscorta::buildList() { return {}; }

}  // namespace zel
