#include "support/records.h"

#include "store/fields.h"
#include "store/recordfile.h"

namespace zel::test {

Record recordOf(const Layout& layout, std::initializer_list<std::pair<std::string_view, Text>> fields) {
  Record r = emptyRecord(layout);
  for (const auto& [name, text] : fields) r[layout.indexOf(name)] = text;
  return r;
}

Record recordOf(const Layout& layout, std::initializer_list<std::pair<size_t, Text>> fields) {
  Record r = emptyRecord(layout);
  for (const auto& [field, text] : fields) r[field] = text;
  return r;
}

Record clientCard(const Text& code) {
  return recordOf(clientLayout(), {{client::Codice, code}, {client::Persona, "Persona " + code}});
}

Record supplyItem(const Text& prodotto, const Text& quantita, const Text& prezzo, const Text& importo,
                  const Text& pagamento) {
  return recordOf(supplyLayout(), {{supply::Prodotto, prodotto},
                                   {supply::Quantita, quantita},
                                   {supply::Prezzo, prezzo},
                                   {supply::Importo, importo},
                                   {supply::Pagamento, pagamento}});
}

void writeRecords(const std::filesystem::path& file, const Layout& layout, const std::vector<Record>& records) {
  RecordFile f = RecordFile::createEmpty(file, layout);
  for (const Record& r : records) f.append(r);
  f.close();
}

void appendRecords(const std::filesystem::path& file, const Layout& layout, const std::vector<Record>& records) {
  RecordFile f = RecordFile::openForUpdate(file, layout);
  for (const Record& r : records) f.append(r);
  f.close();
}

}  // namespace zel::test
