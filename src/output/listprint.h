#pragma once
// List printing: the one operation behind every "Stampa" of a result list and
// of the supply sheet. It asks, lays the list out in printer device units
// (core/printlayout.h) and draws the pages through services().print: on the
// default printer, or into a PDF when no printer is installed. Printing
// reads the list and changes nothing.
#include <QString>
#include <filesystem>
#include <functional>

#include "core/printlayout.h"
#include "core/textlist.h"

class QPagedPaintDevice;
class QWidget;

namespace zel {

// Prints `entries` as the list `list` (its question, title and separator),
// for `window`. The supply lists take their title from `supplyName`; the two
// lists with a total print `total` (the window's total text) after the
// entries. An empty list is refused with a message and reaches no printer; a
// printer that fails is reported with a message. Returns true when the
// pages went to the printer.
bool printList(QWidget* window, const TextList& entries, PrintedList list, const QString& supplyName = {},
               const QString& total = {});

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
