#include "store/archives.h"

namespace zel {

CardArchive clientArchive(const std::filesystem::path& folder) {
  return {folder / kClientArchive, &clientLayout(), folder / kClientTemp};
}

CardArchive productArchive(const std::filesystem::path& folder) {
  // Products are never deleted; only an import rewrites the archive.
  return {folder / kProductArchive, &productLayout(), folder / kProductTemp};
}

CardArchive supplyArchive(const std::filesystem::path& folder, const std::filesystem::path& supplyFile) {
  return {supplyFile, &supplyLayout(), folder / kSupplyTemp, false};
}

}  // namespace zel
