#pragma once
// Text at the record edge: the archives hold Windows-1252 bytes, the windows
// show QStrings. Also the process-wide number conventions the windows' texts
// of numbers and dates follow.
#include <QString>
#include <optional>

#include "core/text.h"

namespace zel {

QString toQ(const Text& text);      // Windows-1252 bytes -> QString
Text fromQ(const QString& text);    // QString -> Windows-1252 ('?' where it cannot)
// The Windows-1252 text, or nothing when a character has no form there.
std::optional<Text> fromQExact(const QString& text);
// True when fromQ keeps every character (none turns into '?').
bool fitsArchive(const QString& text);
// Leading and trailing characters with codes 0 to 32 removed, as record
// texts are; accented letters and other characters stay.
QString trimmed(const QString& text);

// Applies the process-wide number and date conventions (comma decimal
// separator, dd/mm/yyyy) regardless of the system locale.
void applyNumberConventions();

}  // namespace zel
