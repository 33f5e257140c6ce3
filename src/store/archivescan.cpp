#include "store/archivescan.h"

#include <string>
#include <system_error>

#include "store/recordfile.h"

namespace zel {

ArchiveScan scanArchive(const std::filesystem::path& path, const Layout& layout,
                        const std::function<void(const ArchiveScan&)>& opened,
                        const std::function<void(size_t, const uint8_t*)>& visit) {
  auto file = RecordFile::openReadOnly(path, layout);
  ArchiveScan scan;
  const size_t expected = file.count();
  const uint64_t whole = static_cast<uint64_t>(expected) * layout.recordSize();
  std::error_code ec;
  const uint64_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > whole) scan.partialBytes = size - whole;
  scan.records = expected;
  if (opened) opened(scan);

  size_t seen = 0;
  try {
    file.scan([&](size_t k, const uint8_t* bytes) {
      seen = k;
      visit(k, bytes);
    });
  } catch (const StoreError&) {
    // A read that finds the end of the file early reports no system error
    // at all; the file's length now tells what happened.
    const uint64_t now = std::filesystem::file_size(path, ec);
    if (ec || now >= whole) throw;
    throw StoreError(path.string() + ": the file ended at byte " + std::to_string(now) +
                     " while being read, though it held " + std::to_string(whole) +
                     " bytes of records when opened (another program shortened it); records from " +
                     std::to_string(seen + 1) + " on were not read");
  }
  file.close();
  return scan;
}

}  // namespace zel
