#include "output/core/grids.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "store/card.h"
#include "store/recordfile.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

struct NamedColumn {
  const char* heading;
  int width;
  const char* field;
};

// Column 0 holds the record number; the others name their field.
ExportGrid makeGrid(const Layout& layout, const char* sheetName,
                    std::initializer_list<NamedColumn> columns) {
  ExportGrid grid{&layout, sheetName, {{"", 50, GridColumn::kRecordNumber}}};
  for (const NamedColumn& c : columns)
    grid.columns.push_back({c.heading, c.width, static_cast<int>(layout.indexOf(c.field))});
  return grid;
}

}  // namespace

const ExportGrid& clientGrid() {
  static const ExportGrid grid = makeGrid(clientLayout(), "Anagrafica clienti", {
      {" Codice identificativo", 250, "Codice"},
      {" Cliente (persona o azienda)", 250, "Persona"},
      {" Ufficio o altri dettagli", 250, "Ufficio"},
      {" Indirizzo", 300, "Indirizzo"},
      {" CAP, citt\xE0 e sigla prov.", 300, "Citta"},
      {" Tipo documento", 250, "TipoDoc"},
      {" Numero documento", 250, "NumDoc"},
      {" Ente di rilascio", 250, "EnteDoc"},
      {" Data di rilascio", 250, "RilDoc"},
      {" Data di scadenza", 250, "ScaDoc"},
      {" Codice fiscale", 250, "CodFisc"},
      {" Partita IVA", 250, "Iva"},
      {" Carta di credito n.", 250, "Carta"},
      {" Tipo carta di credito", 250, "TipoCarta"},
      {" Scadenza carta di credito", 250, "ScaCarta"},
      {" Codice IBAN", 250, "Iban"},
      {" Banca", 250, "Banca"},
      {" Intestatario C/C", 250, "Intestatario"},
      {" Modalit\xE0 di pagamento", 300, "Pagamento"},
      {" Tel. casa", 200, "TelCasa"},
      {" Tel. ufficio", 200, "TelUff"},
      {" Tel. cellulare", 200, "TelCel"},
      {" Fax", 200, "Fax"},
      {" E-mail", 250, "Email"},
      {" Note", 400, "Note"},
  });
  return grid;
}

const ExportGrid& productGrid() {
  static const ExportGrid grid = makeGrid(productLayout(), "Prodotti e servizi", {
      {" Codice articolo", 200, "Codice"},
      {" Tipologia", 250, "Tipologia"},
      {" Marca", 250, "Marca"},
      {" Modello", 250, "Modello"},
      {" Accessori", 400, "Accessori"},
      {" Descrizione prodotto o servizio", 500, "Descrizione"},
      {" Fornitore", 400, "Fornitore"},
      {" Recapito", 250, "Recapito"},
      {" Data di acquisto", 200, "Data"},
      {" Costo di acquisto", 200, "Costo"},
      {" Documento di acquisto", 400, "Documento"},
      {" Modalit\xE0 di ordine merce", 400, "Ordine"},
      {" Prezzo unitario", 200, "Prezzo"},
      {" Collocazione", 400, "Collocazione"},
      {" Giacenza", 200, "Giacenza"},
      {" Note", 600, "Note"},
  });
  return grid;
}

const ExportGrid& supplyGrid() {
  static const ExportGrid grid = makeGrid(supplyLayout(), "Elenco fornitura", {
      {" Prodotto o servizio fornito", 350, "Prodotto"},
      {" Data fornitura", 150, "Data"},
      {" Ora consegna", 150, "Ora"},
      {" Luogo consegna", 250, "Luogo"},
      {" Quantit\xE0", 100, "Quantita"},
      {" Prezzo unitario", 150, "Prezzo"},
      {" Importo totale", 150, "Importo"},
      {" Unit\xE0 di misura", 150, "UM"},
      {" Stato pagamento", 150, "Pagamento"},
      {" Aspetto esteriore dei beni", 350, "Aspetto"},
      {" Cliente", 250, "Cliente"},
      {" Fornitore", 250, "Fornitore"},
      {" Consegnatario", 250, "Consegnatario"},
      {" Vettore o conducente", 250, "Vettore"},
      {" Annotazioni", 400, "Annotazioni"},
  });
  return grid;
}

void streamArchiveRows(const ExportGrid& grid, const fs::path& file, ArchiveAccess access,
                       const RowVisitor& visitor, const Progress& progress) {
  const size_t columns = grid.columns.size();
  std::vector<Text> cells(columns);

  std::error_code ec;
  const bool missing = access == ArchiveAccess::ReadOnly && !fs::exists(file, ec) && !ec;
  std::optional<RecordFile> records;
  if (!missing && access == ArchiveAccess::Existing)
    records.emplace(openCardArchive({file, grid.layout, {}, false}, Lock::Shared));
  else if (!missing)
    records.emplace(access == ArchiveAccess::ForUpdate
                        ? RecordFile::openForUpdate(file, *grid.layout, Lock::Shared)
                        : RecordFile::openReadOnly(file, *grid.layout));
  const size_t n = records ? records->count() : 0;

  if (n == 0) {
    // The grid keeps one empty row under its (empty) heading row.
    progress.step(0, 2);
    visitor(0, 2, cells);
    progress.step(1, 2);
    visitor(1, 2, cells);
    progress.step(2, 2);
    return;
  }

  const size_t rows = n + 1;
  for (size_t c = 0; c < columns; ++c) cells[c] = grid.columns[c].heading;
  progress.step(0, rows);
  visitor(0, rows, cells);
  records->scanRecords([&](size_t k, const Record& record) {
    if (k > n) return;  // the file grew while it was read: keep the count
    progress.step(k, rows);
    for (size_t c = 0; c < columns; ++c) {
      const int field = grid.columns[c].field;
      cells[c] = field == GridColumn::kRecordNumber ? std::to_string(k)
                                                    : record[static_cast<size_t>(field)];
    }
    visitor(k, rows, cells);
  });
  progress.step(rows, rows);
  records->close();
}

void ArchiveRows::visit(const RowVisitor& visitor) const {
  streamArchiveRows(*grid_, file_, access_, visitor);
}

size_t TableRows::columnCount() const {
  size_t columns = 0;
  for (const auto& row : rows_) columns = std::max(columns, row.size());
  return columns;
}

void TableRows::visit(const RowVisitor& visitor) const {
  const size_t columns = columnCount();
  std::vector<Text> cells;
  for (size_t r = 0; r < rows_.size(); ++r) {
    cells = rows_[r];
    cells.resize(columns);  // short rows show empty cells
    visitor(r, rows_.size(), cells);
  }
}

}  // namespace zel
