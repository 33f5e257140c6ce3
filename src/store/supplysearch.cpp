#include "store/supplysearch.h"

namespace zel {

TextList searchSupply(const std::filesystem::path& supplyFile, const Criteria& criteria,
                      Access access) {
  Record item;  // decoded anew for each listed item, reusing its storage
  return searchLines(supplyFile, supplyLayout(), access, criteria,
                     [&item](const uint8_t* bytes, Text& out) {
                       decodeRecordInto(supplyLayout(), bytes, item);
                       out = itemLine(item);
                     });
}

supplysheet::ItemList pendingItems(const std::filesystem::path& supplyFile, Access access) {
  return supplysheet::listItems(supplyFile, supplysheet::Items::Pending, access);
}

}  // namespace zel
