#include "output/core/cards.h"

#include <initializer_list>
#include <string>

namespace zel {
namespace {

struct CardRow {
  const char* label;
  const char* control;
  bool euro = false;  // the value is written as an amount: euro sign, blank, text
};

constexpr char kEuroAndBlank[] = "\x80 ";

std::vector<std::pair<Text, Text>> cardRows(std::initializer_list<CardRow> rows,
                                            const ControlText& text) {
  std::vector<std::pair<Text, Text>> out;
  for (const CardRow& r : rows) {
    Text value = trim(text(r.control));
    if (r.euro) value.insert(0, kEuroAndBlank);
    out.emplace_back(r.label, std::move(value));
  }
  return out;
}

}  // namespace

CardDocument clientCardDocument(const ControlText& text) {
  CardDocument doc;
  doc.title = "SCHEDA ANAGRAFICA CLIENTE";
  doc.rows = cardRows({
      {"Codice identificativo:", "txtCodice"},
      {"Cliente (persona o azienda):", "txtPersona"},
      {"Ufficio o altri dettagli:", "txtUfficio"},
      {"Indirizzo:", "txtIndirizzo"},
      {"CAP, citt\xE0 e sigla provincia:", "txtCitta"},
      {"Tipo documento:", "txtTipoDoc"},
      {"Numero documento:", "txtNumDoc"},
      {"Ente di rilascio:", "txtEnteDoc"},
      {"Data di rilascio:", "txtRilDoc"},
      {"Data di scadenza:", "txtScaDoc"},
      {"Codice fiscale", "txtCodFisc"},
      {"Partita IVA:", "txtIva"},
      {"Numero carta di credito:", "txtCarta"},
      {"Tipo carta di credito:", "txtTipoCarta"},
      {"Scadenza carta di credito:", "txtScaCarta"},
      {"Codice IBAN:", "txtIban"},
      {"Banca:", "txtBanca"},
      {"Intestatario C/C:", "txtIntestatario"},
      {"Modalit\xE0 di pagamento:", "txtPagamento"},
      {"Tel. casa:", "txtTelCasa"},
      {"Tel. ufficio:", "txtTelUff"},
      {"Tel cellulare:", "txtTelCel"},
      {"Fax:", "txtFax"},
      {"E-mail:", "txtEmail"},
      {"Note:", "txtNote"},
  }, text);
  doc.fileName = doc.rows.front().second;  // the client's code
  return doc;
}

CardDocument productCardDocument(const ControlText& text) {
  CardDocument doc;
  doc.title = "SCHEDA PRODOTTO O SERVIZIO";
  doc.spacer = true;
  doc.rows = cardRows({
      {"Codice articolo:", "txtCodice"},
      {"Tipologia:", "txtTipologia"},
      {"Marca:", "txtMarca"},
      {"Modello:", "txtModello"},
      {"Accessori:", "txtAccessori"},
      {"Descrizione prodotto o servizio:", "txtDescrizione"},
      {"Fornitore:", "txtFornitore"},
      {"Recapito:", "txtRecapito"},
      {"Data di acquisto:", "txtData"},
      {"Costo di acquisto:", "txtCosto"},
      {"Documento di acquisto:", "txtDocumento"},
      {"Modalit\xE0 di ordine merce:", "txtOrdine"},
      {"Prezzo unitario:", "txtPrezzo"},
      {"Collocazione:", "txtCollocazione"},
      {"Giacenza:", "txtGiacenza"},
      {"Note:", "txtNote"},
  }, text);
  doc.fileName = doc.rows.front().second;  // the article code
  return doc;
}

CardDocument supplyCardDocument(std::string_view supplyName, const ControlText& text) {
  CardDocument doc;
  doc.title = trim(supplyName);
  doc.rows = cardRows({
      {"Prodotto o servizio fornito:", "txtProdotto"},
      {"Data fornitura:", "txtData"},
      {"Ora consegna:", "txtOra"},
      {"Luogo consegna:", "txtLuogo"},
      {"Quantit\xE0:", "txtQuantita"},
      {"Prezzo unitario:", "txtPrezzo", true},
      {"Importo totale:", "txtImporto", true},
      {"Unit\xE0 di misura:", "txtUM"},
      {"Stato pagamento:", "txtPagamento"},
      {"Aspetto esteriore dei beni:", "txtAspetto"},
      {"Cliente", "txtCliente"},
      {"Fornitore:", "txtFornitore"},
      {"Consegnatario:", "txtConsegnatario"},
      {"Vettore o conducente:", "txtVettore"},
      {"Annotazioni:", "txtAnnotazioni"},
  }, text);
  // An item has no code of its own: the supply and the product name it.
  const Text& product = doc.rows.front().second;
  doc.fileName = doc.title.empty() ? product : doc.title + " - " + product;
  return doc;
}

ControlText recordControls(const Layout& layout, const Record& record) {
  return [&layout, record](std::string_view control) -> Text {
    for (size_t i = 0; i < layout.fieldCount() && i < record.values.size(); ++i)
      if (control == layout.field(i).control) return record[i];
    return {};
  };
}

}  // namespace zel
