#include "supplies/esportafor.h"

#include "store/layout.h"
#include "supplies/forniture.h"
#include "ui/flow.h"
#include "ui/programfolder.h"

namespace zel {

TfrmEsportaFor::TfrmEsportaFor(QWidget* parent)
    : ExportWindow(QStringLiteral("frmEsportaFor"),
                   QStringLiteral(" Esportazione archivio prodotti o servizi forniti in Microsoft Word ed Excel"), parent, supplyLayout(), {
      {QStringLiteral(" Prodotto o servizio fornito"), 350, "Prodotto"},
      {QStringLiteral(" Data fornitura"), 150, "Data"},
      {QStringLiteral(" Ora consegna"), 150, "Ora"},
      {QStringLiteral(" Luogo consegna"), 250, "Luogo"},
      {QStringLiteral(" Quantità"), 100, "Quantita"},
      {QStringLiteral(" Prezzo unitario"), 150, "Prezzo"},
      {QStringLiteral(" Importo totale"), 150, "Importo"},
      {QStringLiteral(" Unità di misura"), 150, "UM"},
      {QStringLiteral(" Stato pagamento"), 150, "Pagamento"},
      {QStringLiteral(" Aspetto esteriore dei beni"), 350, "Aspetto"},
      {QStringLiteral(" Cliente"), 250, "Cliente"},
      {QStringLiteral(" Fornitore"), 250, "Fornitore"},
      {QStringLiteral(" Consegnatario"), 250, "Consegnatario"},
      {QStringLiteral(" Vettore o conducente"), 250, "Vettore"},
      {QStringLiteral(" Annotazioni"), 400, "Annotazioni"},
                   }) {}

std::filesystem::path TfrmEsportaFor::archiveFile() const {
  // The supply open in the sheet, as its lblFile names it.
  auto* sheet = windowAs<TfrmForniture>(WindowId::SupplySheet);
  return sheet ? qToPath(sheet->supplyFile()) : std::filesystem::path();
}

}  // namespace zel
