#pragma once
// The lists over one supply file: the supply search (nine criteria) and the
// pending payments with their total. A chosen line goes back to its record
// through supplysheet::findRecordOfLine, the rule every item list shares.
#include <filesystem>
#include <vector>

#include "store/recordsearch.h"
#include "store/supplyitem.h"
#include "store/supplysheet.h"

namespace zel {

// The fields the nine criteria boxes search, in the order of the boxes.
inline constexpr supply::Field kSupplySearchFields[] = {
    supply::Prodotto, supply::Data,    supply::Luogo,         supply::Cliente,    supply::Fornitore,
    supply::Aspetto,  supply::Vettore, supply::Consegnatario, supply::Annotazioni};

// The item lines of the items that match, sorted (lessFolded): dates
// "dd/mm/yyyy" lead the lines, so the order is by day first, not by date.
// The windows open the file as an existing one. Throws StoreError
// (SupplyGone for a missing file with Access::Existing), or Cancelled when
// `progress` is asked to stop.
TextList searchSupply(const std::filesystem::path& supplyFile, const Criteria& criteria,
                      Access access = Access::Update, const Progress& progress = {});

// The pending items (isPending) in record order, with the sum of their
// amounts. An amount that is not a number ends the listing there, as does a
// read failure: the lines and the sum reached so far stay, and `problem`
// says why. total() is the window's total. Throws only Cancelled, when
// `progress` is asked to stop.
supplysheet::ItemList pendingItems(const std::filesystem::path& supplyFile,
                                   Access access = Access::Update, const Progress& progress = {});

}  // namespace zel
