#include "ui/base/programfolder.h"

namespace zel {
namespace {
std::filesystem::path& folderRef() {
  static std::filesystem::path folder = std::filesystem::current_path();
  return folder;
}
}  // namespace

const std::filesystem::path& programFolder() { return folderRef(); }
void setProgramFolder(const std::filesystem::path& folder) { folderRef() = folder; }
std::filesystem::path programFile(const char* name) { return folderRef() / name; }
QString pathToQ(const std::filesystem::path& path) { return QString::fromStdString(path.u8string()); }
std::filesystem::path qToPath(const QString& path) {
  return std::filesystem::u8path(path.toUtf8().toStdString());
}

}  // namespace zel
