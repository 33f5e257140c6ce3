#pragma once
// The fields of the three record layouts, each listed once. The list makes
// both the field enum a window or rule addresses fields by (product::Giacenza)
// and the layout table that reads and writes the records, so the two cannot
// drift apart.
#include <cstddef>

// Every layout ends with the same three attachments and one folder, each
// path and description of this capacity.
namespace zel {
inline constexpr int kAttachmentCapacity = 250;
}  // namespace zel
#define ZEL_ATTACHMENT_FIELDS(F, A)                                                             \
  A(File01, ::zel::kAttachmentCapacity) A(File02, ::zel::kAttachmentCapacity)                 \
  A(File03, ::zel::kAttachmentCapacity)                                                         \
  A(Desc01, ::zel::kAttachmentCapacity) A(Desc02, ::zel::kAttachmentCapacity)                 \
  A(Desc03, ::zel::kAttachmentCapacity)                                                         \
  A(Cartella, ::zel::kAttachmentCapacity) A(CartellaDesc, ::zel::kAttachmentCapacity)

// Anagrafica.pro, 3890 bytes.
#define ZEL_CLIENT_FIELDS(F, A)                                                                  \
  F(Codice, 50) F(Persona, 50) F(Ufficio, 50) F(Indirizzo, 50) F(Citta, 50) F(TipoDoc, 50)     \
  F(NumDoc, 50) F(EnteDoc, 120) F(RilDoc, 50) F(ScaDoc, 50) F(CodFisc, 16) F(Iva, 11)          \
  F(Carta, 50) F(TipoCarta, 50) F(ScaCarta, 50) F(Iban, 50) F(Banca, 120) F(Intestatario, 120) \
  F(Pagamento, 250) F(TelCasa, 50) F(TelUff, 50) F(TelCel, 50) F(Fax, 50) F(Email, 120)        \
  F(Note, 250) ZEL_ATTACHMENT_FIELDS(F, A)

// Materiali.pro, 5170 bytes.
#define ZEL_PRODUCT_FIELDS(F, A)                                                                   \
  F(Codice, 250) F(Tipologia, 250) F(Marca, 250) F(Modello, 250) F(Accessori, 250)               \
  F(Descrizione, 250) F(Fornitore, 250) F(Recapito, 250) F(Data, 50) F(Costo, 50)                \
  F(Documento, 250) F(Ordine, 250) F(Prezzo, 15) F(Collocazione, 250) F(Giacenza, 15)            \
  F(Sottoscorta, 15) F(Note, 250) ZEL_ATTACHMENT_FIELDS(F, A)

// A supply file (*.for), 4106 bytes.
#define ZEL_SUPPLY_FIELDS(F, A)                                                                    \
  F(Prodotto, 250) F(Data, 10) F(Ora, 5) F(Luogo, 250) F(Quantita, 16) F(Prezzo, 16)             \
  F(Importo, 16) F(UM, 10) F(Pagamento, 10) F(Aspetto, 250) F(Cliente, 250) F(Fornitore, 250)    \
  F(Consegnatario, 250) F(Vettore, 250) F(Annotazioni, 250) ZEL_ATTACHMENT_FIELDS(F, A)

#define ZEL_FIELD_ENUM(name, capacity) name,

namespace zel {
namespace client {
enum Field : size_t { ZEL_CLIENT_FIELDS(ZEL_FIELD_ENUM, ZEL_FIELD_ENUM) kFieldCount };
}
namespace product {
enum Field : size_t { ZEL_PRODUCT_FIELDS(ZEL_FIELD_ENUM, ZEL_FIELD_ENUM) kFieldCount };
}
namespace supply {
enum Field : size_t { ZEL_SUPPLY_FIELDS(ZEL_FIELD_ENUM, ZEL_FIELD_ENUM) kFieldCount };
}
}  // namespace zel

#undef ZEL_FIELD_ENUM
