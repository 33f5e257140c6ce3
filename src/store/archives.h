#pragma once
// The files of the program folder. The folder is resolved once at start-up
// (the folder of the running executable) and handed to everything that
// touches files, so that tests can work in a folder of their own.
#include <filesystem>

#include "store/card.h"

namespace zel {

inline constexpr const char* kClientArchive = "Anagrafica.pro";
inline constexpr const char* kClientTemp = "Anagrafica.tmp";
inline constexpr const char* kProductArchive = "Materiali.pro";
inline constexpr const char* kProductTemp = "Materiali.tmp";  // the copy of an import
inline constexpr const char* kSupplyTemp = "Fornitura.tmp";
inline constexpr const char* kPasswordStore = "unins000.dll";
inline constexpr const char* kGuide = "Guida.pdf";
inline constexpr const char* kSupplyExtension = ".for";

CardArchive clientArchive(const std::filesystem::path& programFolder);
CardArchive productArchive(const std::filesystem::path& programFolder);
// A supply file keeps its temporary file in the program folder, wherever the
// supply file itself lies. Its card never creates it (SupplyGone).
CardArchive supplyArchive(const std::filesystem::path& programFolder,
                          const std::filesystem::path& supplyFile);

}  // namespace zel
