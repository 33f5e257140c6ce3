// The four identifier checks over arbitrary text: results within their
// ranges, and what a valid identifier must look like.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "checks/core/carta.h"
#include "checks/core/checkresult.h"
#include "checks/core/codfisc.h"
#include "checks/core/iban.h"
#include "checks/core/partitaiva.h"
#include "fuzzcheck.h"

using namespace zel;

namespace {

bool allDigits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void shown(const CheckResult& r) { FUZZ_CHECK(!r.text.empty()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  if (IsCodFiscValid(text)) FUZZ_CHECK(text.size() == 16);
  shown(codFiscResult(text));
  shown(codFiscButtonResult(text));

  if (IsPartitaIvaValid(text)) FUZZ_CHECK(text.size() == 11 && allDigits(text));
  (void)UfficioIva(text.substr(0, 3));
  shown(partitaIvaResult(text));
  shown(partitaIvaButtonResult(text));

  const int carta = CartaCheck(text);
  FUZZ_CHECK(carta >= -2 && carta <= 7);  // first digit minus 2 for a passing number
  (void)CartaCircuito(carta, text.substr(0, 2));
  shown(cartaResult(text));

  const int resto = IbanResto(text);
  FUZZ_CHECK(resto >= 0 && resto <= 96);
  (void)IsIbanValid(text);
  shown(ibanResult(text));

  // The same input taken as typed UTF-8, whatever it holds.
  for (auto result : {codFiscResult, partitaIvaResult, cartaResult, ibanResult}) shown(checkTyped(result, text));
  return 0;
}
