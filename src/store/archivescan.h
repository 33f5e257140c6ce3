#pragma once
// A tool's single pass over an archive it only inspects (the dump, the
// verifier): every whole record is handed on and dropped at once, so the
// memory used is the same whatever the size of the file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "store/layout.h"

namespace zel {

struct ArchiveScan {
  size_t records = 0;          // whole records read
  uint64_t partialBytes = 0;   // bytes of a partial record at the end
};

// Opens the archive read-only, tells `opened` what it holds (before any
// record is read), hands every whole record to `visit` in file order, closes
// it. Throws StoreError when the file cannot be opened or read.
// A file that comes to an end before the length it had when it was opened
// (another program shortened it meanwhile) is reported as such, with the
// record where the reading stopped, rather than with a bare system message.
ArchiveScan scanArchive(const std::filesystem::path& path, const Layout& layout,
                        const std::function<void(const ArchiveScan& found)>& opened,
                        const std::function<void(size_t k, const uint8_t* bytes)>& visit);

}  // namespace zel
