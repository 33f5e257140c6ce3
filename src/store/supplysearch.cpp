#include "store/supplysearch.h"

#include "store/card.h"

namespace zel {

TextList searchSupply(const std::filesystem::path& supplyFile, const Criteria& criteria,
                      Access access, const Progress& progress) {
  try {
    return searchLines(supplyFile, supplyLayout(), access, criteria,
                       [](const uint8_t* item, TextList::Line& line) { storedItemLine(item, line); },
                       itemLineFields(), progress);
  } catch (const StoreError& e) {
    if (access == Access::Existing) tellSupplyGone(e, supplyFile);
    throw;
  }
}

supplysheet::ItemList pendingItems(const std::filesystem::path& supplyFile, Access access,
                                   const Progress& progress) {
  return supplysheet::listItems(supplyFile, supplysheet::Items::Pending, access, progress);
}

}  // namespace zel
