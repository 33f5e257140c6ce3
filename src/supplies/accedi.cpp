#include "supplies/accedi.h"

namespace zel {

TfrmAccedi::TfrmAccedi(QWidget* parent)
    : MainScreen(QStringLiteral("frmAccedi"), QStringLiteral(" Zelvano © - Apri fornitura esistente"), parent) {
}

}  // namespace zel
