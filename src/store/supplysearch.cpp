#include "store/supplysearch.h"

namespace zel {

TextList searchSupply(const std::filesystem::path& supplyFile, const Criteria& criteria,
                      Access access, const Progress& progress) {
  return searchLines(supplyFile, supplyLayout(), access, criteria, storedItemLine, progress);
}

supplysheet::ItemList pendingItems(const std::filesystem::path& supplyFile, Access access,
                                   const Progress& progress) {
  return supplysheet::listItems(supplyFile, supplysheet::Items::Pending, access, progress);
}

}  // namespace zel
