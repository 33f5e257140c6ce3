#include "supplies/cercaincompleti.h"

namespace zel {

TfrmCercaIncompleti::TfrmCercaIncompleti(QWidget* parent)
    : Dialog(QStringLiteral("frmCercaIncompleti"), QStringLiteral(" Elenco pagamenti in sospeso"), parent) {
}

}  // namespace zel
