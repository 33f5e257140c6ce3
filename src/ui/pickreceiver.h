#pragma once
// What the supply sheet takes from the windows it opens: a client or a
// product picked in another window (the client search, the product import),
// and an item picked in a list of the supply. The picking windows hand their
// pick over through these and never need to know the window that takes it.
#include <QString>
#include <cstddef>

#include "store/layout.h"
#include "ui/base/flow.h"

namespace zel {

class PickReceiver {
 public:
  virtual ~PickReceiver() = default;
  // The client chosen in the client search: its name.
  virtual void setClient(const QString& persona) = 0;
  // The product chosen in the product import: its description, unit price
  // and supplier.
  virtual void setProduct(const QString& description, const QString& price, const QString& supplier) = 0;
};

// The supply open on the sheet, as the windows that list its items (the
// supply search, the pending payments) see it: they read the file the sheet
// names and hand the item picked there back to the sheet, without knowing
// the sheet itself.
class SupplyOnSheet {
 public:
  virtual ~SupplyOnSheet() = default;
  // The supply file (trimmed), and its name as the sheet's title shows it.
  virtual QString supplyFile() const = 0;
  virtual QString supplyName() const = 0;
  // Shows an item picked in a list as record number k.
  virtual void showItem(const Record& item, size_t k) = 0;
};

// The supply sheet as such, or null when it does not exist.
inline SupplyOnSheet* supplyOnSheet() {
  return dynamic_cast<SupplyOnSheet*>(navigation().window(WindowId::SupplySheet));
}

// The single-instance window `id` as a receiver of picks, or null when it
// does not exist or takes none.
inline PickReceiver* pickReceiver(WindowId id) { return dynamic_cast<PickReceiver*>(navigation().window(id)); }

}  // namespace zel
