#pragma once
// A file mapped read-only for one listing: its records are decoded straight
// from the page cache, sparing the copy a read makes of every byte (half the
// CPU time of a scan). Another program, one that takes no lock, may shorten
// the file meanwhile, or the disk fail under a page: the kernel then raises
// SIGBUS on the access, which would end the program. A handler, installed
// with the first mapping, puts a page of zeros in place of the missing one
// and marks the mapping lost; whoever reads it then fails as a read would.
#include <cstddef>
#include <cstdint>

namespace zel {

class MappedFile {
 public:
  // Maps bytes [0, size) of the open file `fd`; mapped() is false when the
  // system will not map it (the caller reads instead) or size is 0.
  MappedFile(int fd, uint64_t size);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  bool mapped() const { return data_ != nullptr; }
  const uint8_t* data() const { return data_; }
  // Brings bytes [offset, offset + n) into memory (each of their pages is
  // touched), so that a page missing there is lost now rather than later.
  void touch(uint64_t offset, size_t n) const;
  // Whether a page has gone missing since the mapping was made: from then
  // on the bytes read may be zeros in place of the file's.
  bool lost() const;
  // Asks the kernel to start reading bytes [offset, offset + n) ahead.
  void willNeed(uint64_t offset, uint64_t n) const;

 private:
  const uint8_t* data_ = nullptr;
  uint64_t size_ = 0;
  size_t slot_ = 0;
};

}  // namespace zel
