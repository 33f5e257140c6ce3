#include "output/core/cards.h"

#include <initializer_list>
#include <string>

namespace zel {
namespace {

struct CardRow {
  const char* label;
  const char* field;
  bool euro = false;  // the value is written as an amount: euro sign, blank, text
};

constexpr char kEuroAndBlank[] = "\x80 ";

std::vector<std::pair<Text, Text>> cardRows(std::initializer_list<CardRow> rows,
                                            const FieldText& text) {
  std::vector<std::pair<Text, Text>> out;
  for (const CardRow& r : rows) {
    Text value = trim(text(r.field));
    if (r.euro) value.insert(0, kEuroAndBlank);
    out.emplace_back(r.label, std::move(value));
  }
  return out;
}

}  // namespace

CardDocument clientCardDocument(const FieldText& text) {
  CardDocument doc;
  doc.title = "SCHEDA ANAGRAFICA CLIENTE";
  doc.rows = cardRows({
      {"Codice identificativo:", "Codice"},
      {"Cliente (persona o azienda):", "Persona"},
      {"Ufficio o altri dettagli:", "Ufficio"},
      {"Indirizzo:", "Indirizzo"},
      {"CAP, citt\xE0 e sigla provincia:", "Citta"},
      {"Tipo documento:", "TipoDoc"},
      {"Numero documento:", "NumDoc"},
      {"Ente di rilascio:", "EnteDoc"},
      {"Data di rilascio:", "RilDoc"},
      {"Data di scadenza:", "ScaDoc"},
      {"Codice fiscale", "CodFisc"},
      {"Partita IVA:", "Iva"},
      {"Numero carta di credito:", "Carta"},
      {"Tipo carta di credito:", "TipoCarta"},
      {"Scadenza carta di credito:", "ScaCarta"},
      {"Codice IBAN:", "Iban"},
      {"Banca:", "Banca"},
      {"Intestatario C/C:", "Intestatario"},
      {"Modalit\xE0 di pagamento:", "Pagamento"},
      {"Tel. casa:", "TelCasa"},
      {"Tel. ufficio:", "TelUff"},
      {"Tel cellulare:", "TelCel"},
      {"Fax:", "Fax"},
      {"E-mail:", "Email"},
      {"Note:", "Note"},
  }, text);
  doc.fileName = doc.rows.front().second;  // the client's code
  return doc;
}

CardDocument productCardDocument(const FieldText& text) {
  CardDocument doc;
  doc.title = "SCHEDA PRODOTTO O SERVIZIO";
  doc.spacer = true;
  doc.rows = cardRows({
      {"Codice articolo:", "Codice"},
      {"Tipologia:", "Tipologia"},
      {"Marca:", "Marca"},
      {"Modello:", "Modello"},
      {"Accessori:", "Accessori"},
      {"Descrizione prodotto o servizio:", "Descrizione"},
      {"Fornitore:", "Fornitore"},
      {"Recapito:", "Recapito"},
      {"Data di acquisto:", "Data"},
      {"Costo di acquisto:", "Costo"},
      {"Documento di acquisto:", "Documento"},
      {"Modalit\xE0 di ordine merce:", "Ordine"},
      {"Prezzo unitario:", "Prezzo"},
      {"Collocazione:", "Collocazione"},
      {"Giacenza:", "Giacenza"},
      {"Note:", "Note"},
  }, text);
  doc.fileName = doc.rows.front().second;  // the article code
  return doc;
}

CardDocument supplyCardDocument(std::string_view supplyName, const FieldText& text) {
  CardDocument doc;
  doc.title = trim(supplyName);
  doc.rows = cardRows({
      {"Prodotto o servizio fornito:", "Prodotto"},
      {"Data fornitura:", "Data"},
      {"Ora consegna:", "Ora"},
      {"Luogo consegna:", "Luogo"},
      {"Quantit\xE0:", "Quantita"},
      {"Prezzo unitario:", "Prezzo", true},
      {"Importo totale:", "Importo", true},
      {"Unit\xE0 di misura:", "UM"},
      {"Stato pagamento:", "Pagamento"},
      {"Aspetto esteriore dei beni:", "Aspetto"},
      {"Cliente", "Cliente"},
      {"Fornitore:", "Fornitore"},
      {"Consegnatario:", "Consegnatario"},
      {"Vettore o conducente:", "Vettore"},
      {"Annotazioni:", "Annotazioni"},
  }, text);
  // An item has no code of its own: the supply and the product name it.
  const Text& product = doc.rows.front().second;
  doc.fileName = doc.title.empty() ? product : doc.title + " - " + product;
  return doc;
}

FieldText recordFields(const Layout& layout, const Record& record) {
  return [&layout, record](std::string_view field) -> Text {
    for (size_t i = 0; i < layout.fieldCount() && i < record.values.size(); ++i)
      if (field == layout.field(i).name) return record[i];
    return {};
  };
}

}  // namespace zel
