#pragma once
// The hourglass of long work (the desktop's services, printing, exports).

namespace zel {

// The hourglass while it lives; the previous cursor comes back on every path.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace zel
