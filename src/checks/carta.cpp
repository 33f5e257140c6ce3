#include "checks/carta.h"

#include "checks/core/carta.h"

namespace zel {
namespace {

const CheckWindowData kCarta = {
    "frmCarta",
    " Controllo carta di credito",
    ":/art/chk_carta.png",
    "txtNumero",
    "lblInfo01",
    "cmdControllo",
    "Inserire il numero di carta di credito senza spazi o trattini nella",
    "casella sottostante e premere il pulsante di controllo.",
    470,
    /*maxLength=*/0,
    /*upperCase=*/false,
    /*digitsOnly=*/true,
    /*handCursor=*/true,
    /*backgroundName=*/nullptr,
    carta::canCheck,
    cartaResult,
};

}  // namespace

TfrmCarta::TfrmCarta(QWidget* parent) : CheckWindow(kCarta, parent) {}

}  // namespace zel
