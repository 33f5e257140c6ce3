#pragma once
// List printing: the one operation behind every "Stampa" of a result list and
// of the supply sheet. It asks, lays the list out in printer device units
// (core/printlayout.h) and draws the pages through services().print: on the
// default printer, or into a PDF when no printer is installed. Printing
// reads the list and changes nothing.
#include <QString>

#include "core/printlayout.h"
#include "core/textlist.h"

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

}  // namespace zel
