#include "output/core/gridimport.h"

#include <algorithm>
#include <system_error>
#include <unordered_map>

#include "core/csv.h"
#include "core/text.h"
#include "store/fields.h"
#include "store/productrules.h"
#include "store/recordfile.h"
#include "store/rewrite.h"
#include "store/supplyfiles.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string inQuotes(std::string_view cp1252) { return "\"" + cp1252ToUtf8(cp1252) + "\""; }

// The first character of a UTF-8 cell that Windows-1252 cannot hold, if any.
std::optional<std::string> unstorableCharacter(std::string_view utf8) {
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const std::string_view one = utf8.substr(i, n);
    if (!fitsCp1252(one)) return std::string(one);
    i += n;
  }
  return std::nullopt;
}

bool isBlank(const std::vector<std::string>& cells) {
  return std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return trimView(c).empty(); });
}

// The heading of a column as the user wrote it, for messages.
std::string headingOf(const std::vector<std::string>& header, size_t column, bool utf8) {
  const std::string_view h = trimView(header[column]);
  return "\"" + (utf8 ? std::string(h) : cp1252ToUtf8(h)) + "\"";
}

bool isNumberBox(const ExportGrid& grid, int field) {
  return grid.layout == &productLayout() &&
         (field == product::Prezzo || field == product::Giacenza || field == product::Sottoscorta);
}

bool shownByGrid(const ExportGrid& grid, size_t field) {
  return std::any_of(grid.columns.begin(), grid.columns.end(),
                     [&](const GridColumn& c) { return c.field == static_cast<int>(field); });
}

// The field a heading names: an export heading, or the name of a field the
// export does not show. Letter case and blanks around it do not count.
int fieldNamed(const ExportGrid& grid, const Text& heading) {
  const Text wanted = lowerAscii(heading);
  for (const GridColumn& c : grid.columns)
    if (c.field != GridColumn::kRecordNumber && lowerAscii(trim(c.heading)) == wanted) return c.field;
  const Layout& layout = *grid.layout;
  for (size_t f = 0; f < layout.fieldCount(); ++f)
    if (!shownByGrid(grid, f) && lowerAscii(layout.field(f).name) == wanted) return static_cast<int>(f);
  return -1;
}

size_t codeField(const ExportGrid& grid) { return grid.layout->indexOf("Codice"); }

// The first record of each code, as the searches meet them in file order.
std::unordered_map<Text, size_t> firstRecordOfEachCode(const RecordFile& file, size_t field) {
  std::unordered_map<Text, size_t> codes;
  codes.reserve(file.count());
  file.scan([&](size_t k, const uint8_t* bytes) {
    codes.emplace(Text(trimView(storedText(file.layout(), bytes, field))), k);
  });
  return codes;
}

struct GoodRow {
  size_t row;
  Record record;
};

}  // namespace

TableText tableText(std::string_view bytes) {
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) return {bytes.substr(kByteOrderMark.size()), true};
  return {bytes, supplyfiles::isValidUtf8(bytes)};
}

std::vector<int> headerFields(const ExportGrid& grid, const std::vector<std::string>& header, bool utf8) {
  std::vector<int> fields;
  for (size_t c = 0; c < header.size(); ++c) {
    const Text heading = trim(utf8 ? utf8ToCp1252(header[c]) : header[c]);
    if (heading.empty()) {
      fields.push_back(-1);  // the record numbers of an export, or an unnamed column
      continue;
    }
    const int field = fieldNamed(grid, heading);
    if (field < 0) throw ImportError("intestazione sconosciuta: " + headingOf(header, c, utf8));
    if (std::find(fields.begin(), fields.end(), field) != fields.end())
      throw ImportError("colonna ripetuta: " + headingOf(header, c, utf8));
    fields.push_back(field);
  }
  if (std::find(fields.begin(), fields.end(), static_cast<int>(codeField(grid))) == fields.end())
    throw ImportError("manca la colonna del codice (\"" + cp1252ToUtf8(trim(grid.columns[1].heading)) + "\")");
  return fields;
}

CheckedRow checkRow(const ExportGrid& grid, const std::vector<int>& fields, const std::vector<std::string>& header,
                    const std::vector<std::string>& cells, bool utf8) {
  const Layout& layout = *grid.layout;
  CheckedRow checked{emptyRecord(layout), {}};
  for (size_t c = 0; c < cells.size(); ++c) {
    if (c >= fields.size()) {
      if (!trimView(cells[c]).empty()) {
        checked.reasons.push_back("più celle che intestazioni");
        break;
      }
      continue;
    }
    if (fields[c] < 0) continue;
    const int field = fields[c];
    auto column = [&] { return "colonna " + headingOf(header, c, utf8); };  // only for a refusal
    const std::string& cell = cells[c];
    // Most cells are plain ASCII, the same in either encoding: they skip the
    // conversion (an import of 100,000 rows meets millions of cells).
    const bool ascii = std::all_of(cell.begin(), cell.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
    if (utf8 && !ascii) {
      if (const auto bad = unstorableCharacter(cell)) {
        checked.reasons.push_back(column() + ": il carattere \"" + *bad + "\" non può essere archiviato");
        continue;
      }
    }
    Text text(trimView(utf8 && !ascii ? utf8ToCp1252(cell) : cell));
    // Line breaks as the archives hold them (CR LF), as a card stores a note.
    if (text.find_first_of("\r\n") != Text::npos) text = storedLineBreaks(text);
    const size_t capacity = static_cast<size_t>(layout.field(static_cast<size_t>(field)).capacity);
    if (text.size() > capacity) {
      checked.reasons.push_back(column() + ": " + std::to_string(text.size()) + " caratteri, il campo ne contiene " +
                                std::to_string(capacity));
      continue;
    }
    if (isNumberBox(grid, field) && !productcard::takesText(text)) {
      checked.reasons.push_back(column() + ": valore non valido " + inQuotes(text));
      continue;
    }
    checked.record[static_cast<size_t>(field)] = std::move(text);
  }
  if (checked.reasons.empty() && checked.record[codeField(grid)].empty()) checked.reasons.push_back("manca il codice");
  if (checked.reasons.empty() && grid.layout == &productLayout() && !normaliseProduct(checked.record))
    checked.reasons.push_back("giacenza o sottoscorta non numerica");
  return checked;
}

ImportReport importTable(const ExportGrid& grid, std::string_view bytes, const fs::path& archive,
                         const fs::path& tempName, const ImportOptions& options) {
  const Layout& layout = *grid.layout;
  const TableText table = tableText(bytes);
  csv::Reader reader(table.text, options.separator.value_or(csv::detectSeparator(table.text)));
  std::vector<std::string> header, cells;
  ImportReport report;
  std::vector<GoodRow> good;
  std::vector<int> fields;
  try {
    if (!reader.next(header) || isBlank(header)) throw ImportError("manca la riga delle intestazioni");
    fields = headerFields(grid, header, table.utf8);
    while (reader.next(cells)) {
      if (isBlank(cells)) continue;
      ++report.rows;
      CheckedRow checked = checkRow(grid, fields, header, cells, table.utf8);
      if (!checked.reasons.empty()) {
        std::string reason = checked.reasons.front();
        for (size_t i = 1; i < checked.reasons.size(); ++i) reason += "; " + checked.reasons[i];
        report.refused.push_back({reader.row(), reason});
      } else {
        good.push_back({reader.row(), std::move(checked.record)});
      }
    }
  } catch (const csv::CsvError&) {
    throw ImportError("riga " + std::to_string(reader.row()) + ": una cella tra virgolette non si chiude");
  }

  // The codes are matched under the lock the write will hold, so that no
  // desk adds one in between. Only a write takes the exclusive lock (and
  // creates a missing archive); a check reads under a shared lock.
  const bool write = !options.dryRun && report.refused.empty() && !good.empty();
  std::optional<RecordFile> file;
  std::error_code ec;
  if (write)
    file.emplace(RecordFile::openForUpdate(archive, layout, Lock::Exclusive));
  else if (fs::exists(archive, ec)) {
    // A read-only open does not look at a pending journal: it is settled
    // first, as before any read, so that the codes are matched against the
    // archive as it stands once the interrupted save is undone.
    settlePendingJournal(archive, layout);
    file.emplace(RecordFile::openReadOnly(archive, layout));
  }
  const size_t code = codeField(grid);
  const auto codes = file ? firstRecordOfEachCode(*file, code) : std::unordered_map<Text, size_t>();

  std::vector<bool> imported(layout.fieldCount(), false);
  for (int f : fields)
    if (f >= 0) imported[static_cast<size_t>(f)] = true;
  RecordChanges changes;
  std::unordered_map<size_t, size_t> updatedBy;  // record number -> row
  const size_t refusedBefore = report.refused.size();
  for (GoodRow& g : good) {
    const Text& c = g.record[code];
    const auto found = codes.find(c);
    if (found == codes.end()) {
      ++report.appended;
      changes.appends.push_back(std::move(g.record));
      continue;
    }
    const size_t k = found->second;
    if (!options.update) {
      report.refused.push_back({g.row, "il codice " + inQuotes(c) + " è già in archivio (scheda " + std::to_string(k) + ")"});
      continue;
    }
    if (const auto earlier = updatedBy.find(k); earlier != updatedBy.end()) {
      report.refused.push_back({g.row, "la scheda " + std::to_string(k) + " con il codice " + inQuotes(c) +
                                           " è già aggiornata dalla riga " + std::to_string(earlier->second)});
      continue;
    }
    // A card save: the stored record with the imported fields in place.
    Record merged = file->read(k);
    for (size_t f = 0; f < layout.fieldCount(); ++f)
      if (imported[f]) merged[f] = std::move(g.record[f]);
    if (grid.layout == &productLayout() && !normaliseProduct(merged)) {
      report.refused.push_back({g.row, "la scheda " + std::to_string(k) + " ha una giacenza o una sottoscorta non numerica"});
      continue;
    }
    updatedBy.emplace(k, g.row);
    ++report.updated;
    changes.overwrites.emplace_back(k, std::move(merged));
  }
  if (report.refused.size() != refusedBefore)
    std::stable_sort(report.refused.begin(), report.refused.end(),
                     [](const RowRefusal& a, const RowRefusal& b) { return a.row < b.row; });

  if (write && report.refused.empty()) {
    rewriteWithChanges(*file, tempName, changes);
    report.written = true;
  }
  if (file) file->close();
  return report;
}

}  // namespace zel
