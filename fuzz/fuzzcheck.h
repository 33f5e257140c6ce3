#pragma once
// What the fuzz targets share: a property that must hold aborts the run with
// the input that broke it (libFuzzer keeps it as a crash artifact), and a
// file whose content is the input, for the readers that take a path.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace zel::fuzz {

#define FUZZ_CHECK(condition)                                                        \
  do {                                                                               \
    if (!(condition)) {                                                              \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)

// A file in memory holding `bytes`, reachable by a path like any other.
class MemoryFile {
 public:
  explicit MemoryFile(std::string_view bytes) : fd_(::memfd_create("zelvano-fuzz", MFD_CLOEXEC)) {
    FUZZ_CHECK(fd_ >= 0);
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t put = ::write(fd_, bytes.data() + done, bytes.size() - done);
      FUZZ_CHECK(put > 0);
      done += static_cast<size_t>(put);
    }
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  ~MemoryFile() { ::close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  int fd_;
  std::string path_;
};

}  // namespace zel::fuzz
