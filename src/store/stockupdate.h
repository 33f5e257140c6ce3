#pragma once
// The stock update of a product import: the chosen quantity is taken off the
// product's Giacenza in Materiali.pro, touching no other byte of the file.
#include <filesystem>
#include <functional>
#include <string_view>

#include "store/layout.h"
#include "store/recordfile.h"

namespace zel {

struct StockUpdate {
  enum class Outcome {
    Done,                // the new stock is stored
    QuantityAboveStock,  // refused: nothing was written
  };
  Outcome outcome = Outcome::Done;
  Text stock;      // the Giacenza now stored (the old one when refused)
  Record product;  // the product as it now stands, every field trimmed
};

// The steps of an update, named for the checkpoint callback.
enum class StockStep { Open, Read, Write, Close };

// Takes `quantity` (comma decimal text, as typed) off the stock of product
// record k (1-based). A quantity equal to the stock is taken (the stock
// becomes "0"); a larger one is refused. The new stock is written in the
// general form cut to 15 characters (10 - 2,5 gives "7,5"): the record is
// read raw, only its Giacenza field is replaced and the record is written
// back, so every other byte stays as it was.
//
// A quantity or stock that is not a number, a negative quantity, a result
// that 15 characters cannot hold, a missing record or any file failure is a
// StoreError, and the archive is left as it was. The optional checkpoint runs
// before each step (tests use it to inject failures).
StockUpdate takeFromStock(const std::filesystem::path& archive, size_t k, std::string_view quantity,
                          const std::function<void(StockStep)>& checkpoint = {});

// The import window's quantity box. A typed key is taken when it is a digit,
// or a comma while the box holds none; there is no upper limit.
bool importQuantityKey(std::string_view current, char32_t key);
// The box's text when the user leaves it: blank becomes "0"; a number is
// rounded to four decimals and written in the general form ("2,50" -> "2,5",
// "3" stays); anything else becomes "0".
Text importQuantityOnExit(std::string_view typed);

}  // namespace zel
