#pragma once
// The desktop side of the office bridge: where exported documents go, the
// hourglass and progress while they are written, and opening them with the
// desktop's default application, which shows them to the user for saving.
#include <QString>
#include <filesystem>
#include <functional>
#include <string_view>

#include "core/progress.h"
#include "output/core/cards.h"
#include "output/core/outputfile.h"

class QWidget;

namespace zel {

// The folder exported documents are written to: the system's temporary
// folder, unless another was set (tests set their own; empty goes back).
std::filesystem::path exportFolder();
void setExportFolder(const std::filesystem::path& folder);

// Writes one document into a new file of the export folder.
using DocumentWriter =
    std::function<std::filesystem::path(const Destination& to, const Progress& progress)>;

// Writes a document named after `name` (Windows-1252; a taken name gets a
// number, nothing is overwritten) with the hourglass and, when it takes a
// while, progress with cancel; then opens it with the desktop's default
// application. When the file cannot be written, the plain message `failure`
// says so and no file is left; when nothing opens it, the file stays and the
// message goes on with where it is. A cancelled export says nothing. Returns
// the document opened, or an empty path.
std::filesystem::path exportDocument(QWidget* parent, std::string_view name, const QString& failure,
                                     const DocumentWriter& write);

// A card as a new Word document, with the cards' one failure message.
void exportCardToWord(QWidget* parent, const CardDocument& card);

}  // namespace zel
