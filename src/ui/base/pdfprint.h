#pragma once
// Printing without a printer: the pages a printout draws go into a PDF of the
// program folder instead, which the desktop's print service then opens for
// the user. Tests and benchmarks print into PDFs of their own folders.
#include <QString>
#include <filesystem>
#include <functional>

class QPagedPaintDevice;

namespace zel {

// Said when a printout went into a PDF that nothing on the desktop opens;
// the PDF's place follows it (keptDocumentMessage).
QString unopenedPrintoutMessage();

// The folder where printed lists go as PDF files when no printer is
// installed: "Stampe" in the program folder.
std::filesystem::path printoutFolder();

// Draws the pages into a new PDF in `folder` (created when missing), named
// after `title` and never over an earlier file ("Title (2).pdf" and so on):
// landscape A4, 600 dots per inch, so that the device-unit layout looks as
// it does on a common laser printer. Returns the file written. Throws when
// the file cannot be written whole (a full disk) or `render` fails; no
// partial file is left.
std::filesystem::path printToPdf(const std::filesystem::path& folder, const QString& title,
                                 const std::function<void(QPagedPaintDevice&)>& render);

}  // namespace zel
