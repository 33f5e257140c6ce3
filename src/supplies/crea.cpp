#include "supplies/crea.h"

namespace zel {

TfrmCrea::TfrmCrea(QWidget* parent)
    : MainScreen(QStringLiteral("frmCrea"), QStringLiteral(" Zelvano © - Creazione nuova fornitura"), parent) {
}

}  // namespace zel
