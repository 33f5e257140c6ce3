#include "store/productrules.h"

#include "core/numbers.h"

namespace zel {
namespace {

void wholePieces(Text& field) {
  field = trim(field);
  if (field.empty()) {
    field = "0";
    return;
  }
  if (const auto v = parseNumber(field)) field = generalForm(roundDecimal(*v, 0));
}

}  // namespace

void normaliseProduct(Record& product) {
  if (trim(product[product::Prezzo]).empty()) product[product::Prezzo] = "0,00";
  wholePieces(product[product::Giacenza]);
  wholePieces(product[product::Sottoscorta]);
}

}  // namespace zel
