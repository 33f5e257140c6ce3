#pragma once
// Product record rules shared by the product card and the import.
#include "store/layout.h"

namespace zel {

namespace product {
enum Field : size_t {
  Codice, Tipologia, Marca, Modello, Accessori, Descrizione, Fornitore, Recapito,
  Data, Costo, Documento, Ordine, Prezzo, Collocazione, Giacenza, Sottoscorta, Note,
  File01, File02, File03, Desc01, Desc02, Desc03, Cartella, CartellaDesc
};
}  // namespace product

// Before a product is stored: an empty price becomes "0,00", empty stock and
// threshold "0", and stock and threshold are rounded to whole pieces. A stock
// or threshold that is not a number is left as typed.
void normaliseProduct(Record& product);

}  // namespace zel
