#include "app/helpform.h"

namespace zel {

TfrmHelpForm::TfrmHelpForm(QWidget* parent)
    : Dialog(QStringLiteral("frmHelpForm"), QStringLiteral(" Guida in linea"), parent) {
}

}  // namespace zel
