#pragma once
// The program folder: resolved once at start-up (the folder of the running
// executable) and read by every window that touches files. Tests set a
// temporary folder of their own.
#include <QString>
#include <filesystem>

namespace zel {

const std::filesystem::path& programFolder();
void setProgramFolder(const std::filesystem::path& folder);
// A file of the program folder, as a path.
std::filesystem::path programFile(const char* name);
// Filesystem path <-> QString (paths are UTF-8 on this system).
QString pathToQ(const std::filesystem::path& path);
std::filesystem::path qToPath(const QString& path);

}  // namespace zel
