#include "supplies/cercaincompleti.h"

#include "ui/kit.h"

namespace zel {

TfrmCercaIncompleti::TfrmCercaIncompleti(QWidget* parent)
    : ListWindow(QStringLiteral("frmCercaIncompleti"), QStringLiteral(" Elenco pagamenti in sospeso"), parent, uiFont(FontFamily::CourierNew, px(11)), 1500) { cmdAnnulla = addCancelButton(); }

// The list itself comes with the lists of the archives.
QStringList TfrmCercaIncompleti::buildList() { return {}; }

}  // namespace zel
