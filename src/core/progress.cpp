#include "core/progress.h"

namespace zel {

void Progress::step(size_t done, size_t total) const {
  if (cancel && cancel->load(std::memory_order_relaxed)) throw Cancelled();
  // Often enough for a progress bar, rarely enough not to slow the work.
  if (report && (done % 256 == 0 || done == total)) report(done, total);
}

}  // namespace zel
