#include "ui/base/textconv.h"

#include <QLocale>

namespace zel {

QString toQ(const Text& text) {
  const std::u16string u = cp1252ToUtf16(text);
  return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

Text fromQ(const QString& text) {
  return utf16ToCp1252(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                           static_cast<size_t>(text.size())));
}

std::optional<Text> fromQExact(const QString& text) {
  return exactCp1252(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                         static_cast<size_t>(text.size())));
}

bool fitsArchive(const QString& text) {
  return fitsCp1252(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                        static_cast<size_t>(text.size())));
}

void applyNumberConventions() {
  // Italian conventions: comma as decimal separator, dd/MM/yyyy dates.
  QLocale italian(QLocale::Italian, QLocale::Italy);
  italian.setNumberOptions(QLocale::OmitGroupSeparator);
  QLocale::setDefault(italian);
}

QString trimmed(const QString& text) {
  qsizetype first = 0, last = text.size();
  while (first < last && text.at(first).unicode() <= 32) ++first;
  while (last > first && text.at(last - 1).unicode() <= 32) --last;
  return text.mid(first, last - first);
}

}  // namespace zel
