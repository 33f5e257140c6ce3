#pragma once
// The lists over Materiali.pro: the product search (seven criteria), the
// under-stock list, the list of the product import, and the picks that map a
// chosen line back to its product.
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "store/productrules.h"
#include "store/recordsearch.h"

namespace zel {

// The fields the seven criteria boxes search, in the order of the boxes.
inline constexpr product::Field kProductSearchFields[] = {
    product::Codice,    product::Tipologia,   product::Marca, product::Modello,
    product::Accessori, product::Descrizione, product::Note};

// The product search line: 138 columns, then the note. Codice(30) "  "
// Tipologia(25) "  " (Marca " " Modello)(30) "  Prezzo: " Prezzo(15)
// "  Giacenza: " Giacenza(10) "  " Note; fields trimmed, then padded with
// spaces or cut to their width.
Text productSearchLine(const Record& product);

// The line of the under-stock list and of the product import: "Cod. "
// Codice " - " Marca " " Modello " - Fornitore: " Fornitore " - Recapito: "
// Recapito " - Costo: " Costo " - Giacenza: " Giacenza, fields trimmed.
Text stockLine(const Record& product);

// Giacenza <= Sottoscorta, both read as comma decimals; nothing when either is
// not a number.
std::optional<bool> isUnderStock(const Record& product);

// The search lines of the products that match, sorted (lessFolded). The
// windows open the archive for update. Throws StoreError, or Cancelled when
// `progress` is asked to stop.
TextList searchProducts(const std::filesystem::path& archive, const Criteria& criteria,
                        Access access = Access::Update, const Progress& progress = {});

// The stock lines of the products at or below their threshold, sorted. A
// stock or threshold that is not a number ends the listing there, as does a
// read failure; the lines reached so far stay. Throws only Cancelled, when
// `progress` is asked to stop.
PartialListing underStockList(const std::filesystem::path& archive, Access access = Access::Update,
                              const Progress& progress = {});

// The stock lines of the products whose Giacenza is not empty, sorted, for
// the product import. A read failure keeps the lines so far. Throws only
// Cancelled, when `progress` is asked to stop.
PartialListing importList(const std::filesystem::path& archive, Access access = Access::Update,
                          const Progress& progress = {});

// The product behind a chosen line of the product search, or of the
// under-stock or import list: the last in file order whose line equals it
// (both trimmed), whatever its stock. Throws StoreError.
std::optional<PickedRecord> pickProduct(const std::filesystem::path& archive, std::string_view line);
std::optional<PickedRecord> pickByStockLine(const std::filesystem::path& archive,
                                            std::string_view line);

}  // namespace zel
