#include "store/supplysearch.h"

namespace zel {

TextList searchSupply(const std::filesystem::path& supplyFile, const Criteria& criteria,
                      Access access, const Progress& progress) {
  Record item;  // decoded anew for each listed item, reusing its storage
  return searchLines(supplyFile, supplyLayout(), access, criteria,
                     [&item](const uint8_t* bytes, Text& out) {
                       decodeRecordInto(supplyLayout(), bytes, item);
                       out = itemLine(item);
                     },
                     progress);
}

supplysheet::ItemList pendingItems(const std::filesystem::path& supplyFile, Access access,
                                   const Progress& progress) {
  return supplysheet::listItems(supplyFile, supplysheet::Items::Pending, access, progress);
}

}  // namespace zel
