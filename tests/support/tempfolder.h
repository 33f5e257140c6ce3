#pragma once
// A private temporary folder, removed with everything in it when it goes
// out of scope. Plain C++: the tests, the benchmarks and the fuzz targets
// all make their folders with it.
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace zel::test {

class TempFolder {
 public:
  // A new folder inside `base`, its name starting with `prefix`.
  explicit TempFolder(const std::filesystem::path& base = std::filesystem::temp_directory_path(),
                      const std::string& prefix = "zelvano-test") {
    std::string name = (base / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make a folder in " + base.string());
    path_ = name;
  }
  ~TempFolder() {
    std::error_code ec;
    // Rights may have been taken away by a test; give them back first.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace zel::test
