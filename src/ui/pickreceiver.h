#pragma once
// A window that takes a client or a product picked in another window: the
// supply sheet, filled from the client search and the product import. The
// picking windows hand their pick over through this and never need to know
// the window that takes it.
#include <QString>

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

// The single-instance window `id` as a receiver of picks, or null when it
// does not exist or takes none.
inline PickReceiver* pickReceiver(WindowId id) { return dynamic_cast<PickReceiver*>(navigation().window(id)); }

}  // namespace zel
