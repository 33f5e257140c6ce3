#include "output/core/progress.h"

namespace zel {

void Progress::step(size_t done, size_t total) const {
  if (cancel && cancel->load()) throw ExportError(ExportError::Reason::Cancelled, "export cancelled");
  // Often enough for a progress bar, rarely enough not to slow the export.
  if (report && (done % 256 == 0 || done == total)) report(done, total);
}

}  // namespace zel
