#include "store/stockupdate.h"

#include <cstring>
#include <vector>

#include "core/numbers.h"
#include "store/productrules.h"
#include "store/recordfile.h"

namespace zel {
namespace {

double readNumber(std::string_view text, const char* what) {
  const std::optional<double> v = parseNumber(trimView(text));
  if (!v) throw StoreError(std::string(what) + " '" + Text(trimView(text)) + "' is not a number");
  return *v;
}

// The stock left, as the field will hold it.
Text newStockText(double stock, double quantity) {
  const int capacity = productLayout().field(product::Giacenza).capacity;
  Text text = generalForm(stock - quantity);
  if (text.size() > static_cast<size_t>(capacity)) {
    // Cutting drops decimals only; with an exponent it would change the
    // order of magnitude, so such a stock is not written at all.
    if (text.find('E') != Text::npos) throw StoreError("the new stock " + text + " does not fit its field");
    text.resize(static_cast<size_t>(capacity));
  }
  return text;
}

// Replaces the text of one field in raw record bytes; the rest of the field
// is zeroed, as every writer of the program leaves it.
void patchField(const Layout& layout, uint8_t* record, size_t field, std::string_view text) {
  uint8_t* p = record + layout.offset(field);
  const auto capacity = static_cast<size_t>(layout.field(field).capacity);
  p[0] = static_cast<uint8_t>(text.size());
  std::memcpy(p + 1, text.data(), text.size());
  std::memset(p + 1 + text.size(), 0, capacity - text.size());
}

}  // namespace

StockUpdate takeFromStock(const std::filesystem::path& archive, size_t k, std::string_view quantity,
                          const std::function<void(StockStep)>& checkpoint) {
  auto step = [&](StockStep s) {
    if (checkpoint) checkpoint(s);
  };
  const Layout& layout = productLayout();
  const double taken = readNumber(quantity, "the quantity");
  if (taken < 0) throw StoreError("a negative quantity cannot be taken off the stock");

  step(StockStep::Open);
  // Read, compared and written under one exclusive lock: a stock lowered by
  // another instance meanwhile is never written back over.
  RecordFile file = RecordFile::openForUpdate(archive, layout, Lock::Exclusive);
  step(StockStep::Read);
  std::vector<uint8_t> bytes(layout.recordSize());
  file.readRaw(k, bytes.data());
  const double stock = readNumber(storedText(layout, bytes.data(), product::Giacenza), "the stock");

  StockUpdate result;
  const std::vector<uint8_t> original = bytes;
  bool written = false;
  try {
    if (taken > stock) {
      result.outcome = StockUpdate::Outcome::QuantityAboveStock;
    } else {
      patchField(layout, bytes.data(), product::Giacenza, newStockText(stock, taken));
      step(StockStep::Write);
      // All or nothing, and on the disk before the sheet gets the product.
      file.commitOverwriteRaw(k, bytes.data());
      written = true;
    }
    step(StockStep::Close);
    file.close();
  } catch (...) {
    // The import fails as a whole: the sheet gets nothing, so the stock
    // goes back to what it was while the file is still open (best effort;
    // the first failure is the one reported).
    if (written && file.descriptor() >= 0) {
      try {
        file.commitOverwriteRaw(k, original.data());
      } catch (...) {
      }
    }
    throw;
  }
  result.product = decodeRecord(layout, bytes.data());
  result.stock = result.product[product::Giacenza];
  return result;
}

bool importQuantityKey(std::string_view current, char32_t key) {
  if (key >= U'0' && key <= U'9') return true;
  return key == U',' && current.find(',') == std::string_view::npos;
}

Text importQuantityOnExit(std::string_view typed) {
  const std::string_view t = trimView(typed);
  if (t.empty()) return "0";
  const std::optional<Decimal> v = parseDecimal(t);
  return v ? generalForm(roundDecimal(*v, 4)) : Text("0");
}

}  // namespace zel
