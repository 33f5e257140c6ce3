// The number reader and the rounding: any text read, and every number read
// written in its general form, which reads back as the same form; rounding
// stays within half a unit of the last decimal kept.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/numbers.h"
#include "fuzzcheck.h"
#include "store/supplyitem.h"

using namespace zel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int decimals = data[0] % 6;  // the program rounds to 0 and 2; a few more for good measure
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::optional<Decimal> x = parseDecimal(text);
  const std::optional<double> d = parseNumber(text);
  FUZZ_CHECK(!d || x);  // the double reading never accepts what the exact one refuses
  (void)completeTwoDecimals(std::string(text));
  (void)completeAmount(text);
  if (!x) return 0;

  const std::string shown = generalForm(*x);
  const std::optional<Decimal> back = parseDecimal(shown);
  FUZZ_CHECK(back);
  FUZZ_CHECK(generalForm(*back) == shown);
  const std::string completed = completeAmount(shown);
  FUZZ_CHECK(parseDecimal(completed));

  const Decimal rounded = roundDecimal(*x, decimals);
  FUZZ_CHECK(parseDecimal(generalForm(rounded)));
  if (!x->isNegative()) {
    // Int(x × 10^d + 0,5) / 10^d: never more than half a unit away.
    Decimal half = Decimal::fromInteger(5);
    for (int i = 0; i <= decimals; ++i) half = half * *parseDecimal("0,1");
    FUZZ_CHECK(!(rounded - *x > half));
    FUZZ_CHECK(*x - rounded < half);  // halves go up
  }
  return 0;
}
