#include "store/layout.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <stdexcept>

namespace zel {

Layout::Layout(std::string name, std::vector<FieldDef> fields)
    : name_(std::move(name)), fields_(std::move(fields)) {
  for (const auto& f : fields_) {
    offsets_.push_back(size_);
    size_ += static_cast<size_t>(f.capacity) + 1;
  }
}

size_t Layout::indexOf(std::string_view fieldName) const {
  for (size_t i = 0; i < fields_.size(); ++i)
    if (fieldName == fields_[i].name) return i;
  throw std::out_of_range("unknown field " + std::string(fieldName));
}

Record emptyRecord(const Layout& layout) {
  return Record{std::vector<Text>(layout.fieldCount())};
}

Text fieldText(std::string_view text, int capacity) {
  Text t = trim(text);
  if (t.size() > static_cast<size_t>(capacity)) t.resize(static_cast<size_t>(capacity));
  return t;
}

void encodeRecord(const Layout& layout, const Record& record, uint8_t* out) {
  std::memset(out, 0, layout.recordSize());
  for (size_t i = 0; i < layout.fieldCount(); ++i) {
    const int cap = layout.field(i).capacity;
    const Text t = i < record.values.size() ? fieldText(record.values[i], cap) : Text();
    uint8_t* p = out + layout.offset(i);
    p[0] = static_cast<uint8_t>(t.size());
    std::memcpy(p + 1, t.data(), t.size());
  }
}

void decodeRecordInto(const Layout& layout, const uint8_t* in, Record& record) {
  record.values.resize(layout.fieldCount());
  for (size_t i = 0; i < layout.fieldCount(); ++i) {
    const std::string_view t = trimView(storedText(layout, in, i));
    Text& value = record.values[i];
    if (t.empty()) value.clear();  // most fields are empty: skip the library call
    else value.assign(t.data(), t.size());
  }
}

Record decodeRecord(const Layout& layout, const uint8_t* in) {
  Record r;
  decodeRecordInto(layout, in, r);
  return r;
}

std::vector<size_t> oversizedFields(const Layout& layout, const uint8_t* in) {
  std::vector<size_t> bad;
  for (size_t i = 0; i < layout.fieldCount(); ++i)
    if (in[layout.offset(i)] > layout.field(i).capacity) bad.push_back(i);
  return bad;
}

namespace {

// Every layout ends with the same three attachments and one folder.
std::vector<FieldDef> withAttachments(std::vector<FieldDef> fields) {
  static const FieldDef kAttachments[] = {
      {"File01", 250, "lblFile01"}, {"File02", 250, "lblFile02"},
      {"File03", 250, "lblFile03"}, {"Desc01", 250, "lblDesc01"},
      {"Desc02", 250, "lblDesc02"}, {"Desc03", 250, "lblDesc03"},
      {"Cartella", 250, "lblCartella"}, {"CartellaDesc", 250, "lblCartellaDesc"},
  };
  fields.insert(fields.end(), std::begin(kAttachments), std::end(kAttachments));
  return fields;
}

}  // namespace

const Layout& clientLayout() {
  static const Layout layout("clienti", withAttachments({
      {"Codice", 50, "txtCodice"},
      {"Persona", 50, "txtPersona"},
      {"Ufficio", 50, "txtUfficio"},
      {"Indirizzo", 50, "txtIndirizzo"},
      {"Citta", 50, "txtCitta"},
      {"TipoDoc", 50, "txtTipoDoc"},
      {"NumDoc", 50, "txtNumDoc"},
      {"EnteDoc", 120, "txtEnteDoc"},
      {"RilDoc", 50, "txtRilDoc"},
      {"ScaDoc", 50, "txtScaDoc"},
      {"CodFisc", 16, "txtCodFisc"},
      {"Iva", 11, "txtIva"},
      {"Carta", 50, "txtCarta"},
      {"TipoCarta", 50, "txtTipoCarta"},
      {"ScaCarta", 50, "txtScaCarta"},
      {"Iban", 50, "txtIban"},
      {"Banca", 120, "txtBanca"},
      {"Intestatario", 120, "txtIntestatario"},
      {"Pagamento", 250, "txtPagamento"},
      {"TelCasa", 50, "txtTelCasa"},
      {"TelUff", 50, "txtTelUff"},
      {"TelCel", 50, "txtTelCel"},
      {"Fax", 50, "txtFax"},
      {"Email", 120, "txtEmail"},
      {"Note", 250, "txtNote"},
  }));
  return layout;
}

const Layout& productLayout() {
  static const Layout layout("prodotti", withAttachments({
      {"Codice", 250, "txtCodice"},
      {"Tipologia", 250, "txtTipologia"},
      {"Marca", 250, "txtMarca"},
      {"Modello", 250, "txtModello"},
      {"Accessori", 250, "txtAccessori"},
      {"Descrizione", 250, "txtDescrizione"},
      {"Fornitore", 250, "txtFornitore"},
      {"Recapito", 250, "txtRecapito"},
      {"Data", 50, "txtData"},
      {"Costo", 50, "txtCosto"},
      {"Documento", 250, "txtDocumento"},
      {"Ordine", 250, "txtOrdine"},
      {"Prezzo", 15, "txtPrezzo"},
      {"Collocazione", 250, "txtCollocazione"},
      {"Giacenza", 15, "txtGiacenza"},
      {"Sottoscorta", 15, "txtSottoscorta"},
      {"Note", 250, "txtNote"},
  }));
  return layout;
}

const Layout& supplyLayout() {
  static const Layout layout("fornitura", withAttachments({
      {"Prodotto", 250, "txtProdotto"},
      {"Data", 10, "txtData"},
      {"Ora", 5, "txtOra"},
      {"Luogo", 250, "txtLuogo"},
      {"Quantita", 16, "txtQuantita"},
      {"Prezzo", 16, "txtPrezzo"},
      {"Importo", 16, "txtImporto"},
      {"UM", 10, "txtUM"},
      {"Pagamento", 10, "txtPagamento"},
      {"Aspetto", 250, "txtAspetto"},
      {"Cliente", 250, "txtCliente"},
      {"Fornitore", 250, "txtFornitore"},
      {"Consegnatario", 250, "txtConsegnatario"},
      {"Vettore", 250, "txtVettore"},
      {"Annotazioni", 250, "txtAnnotazioni"},
  }));
  return layout;
}

}  // namespace zel
