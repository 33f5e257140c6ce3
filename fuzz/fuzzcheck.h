#pragma once
// What the fuzz targets share: a property that must hold aborts the run with
// the input that broke it (libFuzzer keeps it as a crash artifact), a file
// whose content is the input, for the readers that take a path, and a work
// folder for the targets that write files.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "support/tempfolder.h"

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

// One folder for the whole run, in memory where the system has one, for the
// targets that work on files by name; removed when the run ends.
inline const std::filesystem::path& workFolder() {
  namespace fs = std::filesystem;
  static const test::TempFolder folder(fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path(),
                                       "zelvano-fuzz");
  return folder.path();
}

}  // namespace zel::fuzz
