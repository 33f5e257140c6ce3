#pragma once
// A read-only view of part of an open archive, for a listing's pass.
//
// Reading a large archive copies every byte out of the page cache, though a
// listing looks at a few fields of each record; a view of the file lets it
// look at those bytes where the kernel keeps them. The catch is a file that
// loses pages under the view (another program shortens it, the disk fails a
// read): touching such a page stops the process with a bus error. Here that
// page becomes a page of zeros, the view remembers where the file stopped,
// and the reader asks before each record whether it is still whole.
//
// A view is cheap only when the kernel holds the file in large pieces (as
// it does for a file read from the disk or copied whole); a file written a
// record at a time is held in 4 KiB pages, and looking at it through a view
// costs more than reading it. The view measures which it is before it is
// used (cheaperThanReading).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel {

// Whether a listing looks at its file through a view: where it measures
// cheaper (the program's setting), always where one can be made, or never.
// Tests force either way; returns the previous setting.
enum class ViewUse { Measured, Always, Never };
ViewUse setViewUse(ViewUse use);

class FileView {
 public:
  // Maps `length` bytes of `fd` from `offset` for this thread. The view is
  // not made (mapped() is false, and the caller reads instead) when the file
  // lives on a file system other than a local disk's, or the mapping fails.
  FileView(int fd, uint64_t offset, size_t length);
  ~FileView();
  FileView(const FileView&) = delete;
  FileView& operator=(const FileView&) = delete;

  bool mapped() const { return base_ != nullptr; }
  // Whether looking at 2 MiB in the middle of the view took less than half
  // the time of reading the same bytes with `fd` into `buffer`; false when
  // they are not all in memory (or as setViewUse says).
  // When it did not, the view is let go (mapped() turns false).
  bool cheaperThanReading(int fd, std::vector<uint8_t>& buffer);
  // The byte at `offset` of the file (within the view).
  const uint8_t* at(uint64_t offset) const { return base_ + (offset - fileOffset_); }
  // Whether the `size` bytes at `bytes` can still be read: each of their
  // pages is touched. False from the first page the file no longer has on.
  bool whole(const uint8_t* bytes, size_t size) const;
  // Starts fetching what whole() will touch of the `size` bytes at `bytes`,
  // and the bytes at `offsets` from there.
  void prefetch(const uint8_t* bytes, size_t size, const std::vector<size_t>& offsets) const;
  // False once any page of the view was found missing, even by the visit.
  bool intact() const;

  // For the bus-error handler only: the view of this thread that holds
  // `address`, or null.
  static FileView* holding(const void* address);
  void markMissing(uintptr_t page);

 private:
  void release();
  uint8_t* map_ = nullptr;   // the mapping, from a page boundary
  size_t mapLength_ = 0;
  const uint8_t* base_ = nullptr;
  uint64_t fileOffset_ = 0;
  // The lowest page found missing (UINTPTR_MAX: none), written by the
  // handler on this same thread.
  volatile uintptr_t firstMissing_ = UINTPTR_MAX;
  FileView* outer_ = nullptr;  // the view this thread had open before, if any
};

}  // namespace zel
