#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "store/fields.h"
#include "store/layout.h"

namespace zel {
namespace {

struct Expected {
  const char* name;
  size_t offset;
  int capacity;
  const char* control;
};

// The client file format, field by field, written out independently of the
// table in the code.
const Expected kClient[] = {
    {"Codice", 0, 50, "txtCodice"},           {"Persona", 51, 50, "txtPersona"},
    {"Ufficio", 102, 50, "txtUfficio"},       {"Indirizzo", 153, 50, "txtIndirizzo"},
    {"Citta", 204, 50, "txtCitta"},           {"TipoDoc", 255, 50, "txtTipoDoc"},
    {"NumDoc", 306, 50, "txtNumDoc"},         {"EnteDoc", 357, 120, "txtEnteDoc"},
    {"RilDoc", 478, 50, "txtRilDoc"},         {"ScaDoc", 529, 50, "txtScaDoc"},
    {"CodFisc", 580, 16, "txtCodFisc"},       {"Iva", 597, 11, "txtIva"},
    {"Carta", 609, 50, "txtCarta"},           {"TipoCarta", 660, 50, "txtTipoCarta"},
    {"ScaCarta", 711, 50, "txtScaCarta"},     {"Iban", 762, 50, "txtIban"},
    {"Banca", 813, 120, "txtBanca"},          {"Intestatario", 934, 120, "txtIntestatario"},
    {"Pagamento", 1055, 250, "txtPagamento"}, {"TelCasa", 1306, 50, "txtTelCasa"},
    {"TelUff", 1357, 50, "txtTelUff"},        {"TelCel", 1408, 50, "txtTelCel"},
    {"Fax", 1459, 50, "txtFax"},              {"Email", 1510, 120, "txtEmail"},
    {"Note", 1631, 250, "txtNote"},           {"File01", 1882, 250, "lblFile01"},
    {"File02", 2133, 250, "lblFile02"},       {"File03", 2384, 250, "lblFile03"},
    {"Desc01", 2635, 250, "lblDesc01"},       {"Desc02", 2886, 250, "lblDesc02"},
    {"Desc03", 3137, 250, "lblDesc03"},       {"Cartella", 3388, 250, "lblCartella"},
    {"CartellaDesc", 3639, 250, "lblCartellaDesc"},
};

const Expected kProduct[] = {
    {"Codice", 0, 250, "txtCodice"},          {"Tipologia", 251, 250, "txtTipologia"},
    {"Marca", 502, 250, "txtMarca"},          {"Modello", 753, 250, "txtModello"},
    {"Accessori", 1004, 250, "txtAccessori"}, {"Descrizione", 1255, 250, "txtDescrizione"},
    {"Fornitore", 1506, 250, "txtFornitore"}, {"Recapito", 1757, 250, "txtRecapito"},
    {"Data", 2008, 50, "txtData"},            {"Costo", 2059, 50, "txtCosto"},
    {"Documento", 2110, 250, "txtDocumento"}, {"Ordine", 2361, 250, "txtOrdine"},
    {"Prezzo", 2612, 15, "txtPrezzo"},        {"Collocazione", 2628, 250, "txtCollocazione"},
    {"Giacenza", 2879, 15, "txtGiacenza"},    {"Sottoscorta", 2895, 15, "txtSottoscorta"},
    {"Note", 2911, 250, "txtNote"},           {"File01", 3162, 250, "lblFile01"},
    {"File02", 3413, 250, "lblFile02"},       {"File03", 3664, 250, "lblFile03"},
    {"Desc01", 3915, 250, "lblDesc01"},       {"Desc02", 4166, 250, "lblDesc02"},
    {"Desc03", 4417, 250, "lblDesc03"},       {"Cartella", 4668, 250, "lblCartella"},
    {"CartellaDesc", 4919, 250, "lblCartellaDesc"},
};

const Expected kSupply[] = {
    {"Prodotto", 0, 250, "txtProdotto"},        {"Data", 251, 10, "txtData"},
    {"Ora", 262, 5, "txtOra"},                  {"Luogo", 268, 250, "txtLuogo"},
    {"Quantita", 519, 16, "txtQuantita"},       {"Prezzo", 536, 16, "txtPrezzo"},
    {"Importo", 553, 16, "txtImporto"},         {"UM", 570, 10, "txtUM"},
    {"Pagamento", 581, 10, "txtPagamento"},     {"Aspetto", 592, 250, "txtAspetto"},
    {"Cliente", 843, 250, "txtCliente"},        {"Fornitore", 1094, 250, "txtFornitore"},
    {"Consegnatario", 1345, 250, "txtConsegnatario"}, {"Vettore", 1596, 250, "txtVettore"},
    {"Annotazioni", 1847, 250, "txtAnnotazioni"}, {"File01", 2098, 250, "lblFile01"},
    {"File02", 2349, 250, "lblFile02"},         {"File03", 2600, 250, "lblFile03"},
    {"Desc01", 2851, 250, "lblDesc01"},         {"Desc02", 3102, 250, "lblDesc02"},
    {"Desc03", 3353, 250, "lblDesc03"},         {"Cartella", 3604, 250, "lblCartella"},
    {"CartellaDesc", 3855, 250, "lblCartellaDesc"},
};

template <size_t N>
void expectLayout(const Layout& layout, const Expected (&table)[N], size_t size) {
  EXPECT_EQ(layout.recordSize(), size);
  ASSERT_EQ(layout.fieldCount(), N);
  for (size_t i = 0; i < N; ++i) {
    SCOPED_TRACE(table[i].name);
    EXPECT_STREQ(layout.field(i).name, table[i].name);
    EXPECT_EQ(layout.offset(i), table[i].offset);
    EXPECT_EQ(layout.field(i).capacity, table[i].capacity);
    // The hidden attachment fields are edited through labels, the rest
    // through edit boxes.
    EXPECT_EQ(layout.field(i).attachment, std::strncmp(table[i].control, "lbl", 3) == 0);
    EXPECT_EQ(layout.indexOf(table[i].name), i);
  }
  // The field enums address the same fields.
  EXPECT_EQ(product::kFieldCount, productLayout().fieldCount());
  // The last field ends exactly at the end of the record.
  EXPECT_EQ(table[N - 1].offset + table[N - 1].capacity + 1, size);
}

TEST(Layout, ClientFieldsMatchTheFileFormat) { expectLayout(clientLayout(), kClient, 3890); }
TEST(Layout, ProductFieldsMatchTheFileFormat) { expectLayout(productLayout(), kProduct, 5170); }
TEST(Layout, SupplyFieldsMatchTheFileFormat) { expectLayout(supplyLayout(), kSupply, 4106); }

TEST(Layout, UnknownFieldNameIsAnError) {
  EXPECT_THROW(clientLayout().indexOf("Nome"), std::out_of_range);
}

TEST(Encode, OnlyCodiceAndPersona) {
  const Layout& l = clientLayout();
  Record r = emptyRecord(l);
  r[0] = "C001";
  r[1] = "Mario Rossi";
  std::vector<uint8_t> bytes(l.recordSize(), 0xEE);
  encodeRecord(l, r, bytes.data());
  EXPECT_EQ(bytes[0], 4);
  EXPECT_EQ(std::memcmp(bytes.data() + 1, "C001", 4), 0);
  EXPECT_EQ(bytes[51], 11);
  EXPECT_EQ(std::memcmp(bytes.data() + 52, "Mario Rossi", 11), 0);
  for (size_t i = 2; i < l.fieldCount(); ++i) EXPECT_EQ(bytes[l.offset(i)], 0) << l.field(i).name;
  // Nothing of the buffer's former contents is left behind.
  for (uint8_t b : bytes) ASSERT_NE(b, 0xEE);
  EXPECT_EQ(decodeRecord(l, bytes.data()).values, r.values);
}

TEST(Encode, TrimsAndCutsToCapacity) {
  const Layout& l = clientLayout();
  Record r = emptyRecord(l);
  r[l.indexOf("Codice")] = "\t  ABC \r\n";
  r[l.indexOf("CodFisc")] = "RSSMRA80A01H501UXYZ";  // 19 characters, capacity 16
  r[l.indexOf("Iva")] = "123456789012345";        // capacity 11
  r[l.indexOf("File01")] = std::string(300, 'p');  // capacity 250
  r[l.indexOf("Note")] = "  riga uno\r\nriga due  ";
  std::vector<uint8_t> bytes(l.recordSize());
  encodeRecord(l, r, bytes.data());
  EXPECT_EQ(bytes[l.offset(l.indexOf("Codice"))], 3);
  EXPECT_EQ(bytes[l.offset(l.indexOf("CodFisc"))], 16);
  EXPECT_EQ(bytes[l.offset(l.indexOf("Iva"))], 11);
  EXPECT_EQ(bytes[l.offset(l.indexOf("File01"))], 250);
  // The cut text does not spill into the next field.
  EXPECT_EQ(bytes[l.offset(l.indexOf("File02"))], 0);
  EXPECT_EQ(bytes[l.offset(l.indexOf("Carta"))], 0);
  const Record back = decodeRecord(l, bytes.data());
  EXPECT_EQ(back[l.indexOf("Codice")], "ABC");
  EXPECT_EQ(back[l.indexOf("CodFisc")], "RSSMRA80A01H501U");
  EXPECT_EQ(back[l.indexOf("Iva")], "12345678901");
  EXPECT_EQ(back[l.indexOf("File01")], std::string(250, 'p'));
  EXPECT_EQ(back[l.indexOf("Note")], "riga uno\r\nriga due");
}

TEST(Encode, TrimsBeforeCutting) {
  // 20 leading blanks must not eat into the capacity.
  EXPECT_EQ(fieldText(std::string(20, ' ') + "12345678901234567", 16), "1234567890123456");
  EXPECT_EQ(fieldText("  abc  ", 4), "abc");
}

TEST(Decode, IgnoresBytesAfterTheTextAndCapsTheLength) {
  const Layout& l = clientLayout();
  std::vector<uint8_t> bytes(l.recordSize(), 'X');  // garbage everywhere
  for (size_t i = 0; i < l.fieldCount(); ++i) bytes[l.offset(i)] = 0;
  bytes[0] = 2;  // Codice "XX"
  bytes[l.offset(l.indexOf("Iva"))] = 200;  // above capacity 11
  bytes[l.offset(l.indexOf("CartellaDesc"))] = 255;  // last field, above 250
  const Record r = decodeRecord(l, bytes.data());
  EXPECT_EQ(r[0], "XX");
  EXPECT_EQ(r[l.indexOf("Iva")], std::string(11, 'X'));
  EXPECT_EQ(r[l.indexOf("CartellaDesc")], std::string(250, 'X'));
  EXPECT_EQ(r[l.indexOf("Persona")], "");
  EXPECT_EQ(oversizedFields(l, bytes.data()),
            (std::vector<size_t>{l.indexOf("Iva"), l.indexOf("CartellaDesc")}));
}

}  // namespace
}  // namespace zel
