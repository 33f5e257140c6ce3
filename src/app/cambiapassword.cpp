#include "app/cambiapassword.h"

namespace zel {

TfrmCambiaPassword::TfrmCambiaPassword(QWidget* parent)
    : Dialog(QStringLiteral("frmCambiaPassword"), QStringLiteral(" Cambia password"), parent) {
}

}  // namespace zel
