#pragma once
// Word documents (.docx, WordprocessingML) of the exports, written without
// Word: the card documents and the archive grid as a table.
#include <filesystem>

#include "core/progress.h"
#include "output/core/cards.h"
#include "output/core/exporterror.h"
#include "output/core/grids.h"
#include "output/core/outputfile.h"

namespace zel {

// One card: the title centred in Arial 10 bold (for the product card an
// empty centred bold paragraph under it), then a table of two columns,
// label and value, in justified Arial 10 paragraphs. Returns the new file.
std::filesystem::path writeCardDocument(const CardDocument& card, const Destination& to);

// The grid as a table of as many rows and columns, each cell exactly as the
// grid shows it (headings keep their leading blank). The rows are streamed:
// a large archive is never held in memory. Returns the new file.
std::filesystem::path writeGridDocument(const GridRows& rows, const Destination& to,
                                        const Progress& progress = {});

}  // namespace zel
