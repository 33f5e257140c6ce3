#pragma once
// Excel workbooks (.xlsx) of the archive exports, written without Excel.
#include <filesystem>
#include <string_view>

#include "core/progress.h"
#include "output/core/exporterror.h"
#include "output/core/grids.h"
#include "output/core/outputfile.h"

namespace zel {

// One worksheet named `sheetName` holding the grid: every cell from A1 to
// the last one formatted as text ("@") and filled with the grid cell's
// trimmed text (so headings lose their leading blank and a VAT number keeps
// its leading zero), the headings of row 1 from column B bold, every column
// as wide as its longest text, A1 selected. Rows are streamed (constant
// memory), so a large archive is never held whole. Returns the new file.
std::filesystem::path writeGridWorkbook(const GridRows& rows, std::string_view sheetName,
                                        const Destination& to, const Progress& progress = {});

}  // namespace zel
