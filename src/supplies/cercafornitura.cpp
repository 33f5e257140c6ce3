#include "supplies/cercafornitura.h"

#include "store/supplysearch.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/kit.h"
#include "ui/pickreceiver.h"

namespace zel {
namespace {


}  // namespace

TfrmCercaFornitura::TfrmCercaFornitura(QWidget* parent)
    : SearchWindow(QStringLiteral("frmCercaFornitura"), QStringLiteral(" Ricerca prodotti e servizi forniti"), parent,
                   {QStringLiteral("Ricerca prodotti e servizi forniti"),
                    QStringLiteral("dei prodotti e servizi da cercare e premere il pulsante Trova."),
                    kSilver,
                    uiFont(FontFamily::Verdana, px(11), Bold),
                    uiFont(FontFamily::CourierNew, px(11)),
                    1500,
                    PrintedList::SupplySearch,
                    true}) {
  addCriteria({
      {"txtProdotto", "Prodotto o servizio:", supply::Prodotto},
      {"txtData", "Data fornitura:", supply::Data},
      {"txtLuogo", "Luogo consegna:", supply::Luogo},
      {"txtCliente", "Cliente:", supply::Cliente},
      {"txtFornitore", "Fornitore:", supply::Fornitore},
      {"txtAspetto", "Aspetto esteriore dei beni:", supply::Aspetto},
      {"txtVettore", "Vettore o conducente:", supply::Vettore},
      {"txtConsegnatario", "Consegnatario:", supply::Consegnatario},
      {"txtAnnotazioni", "Annotazioni:", supply::Annotazioni},
  });
}

// The open supply is the one the sheet's lblFile names, and no other.
TextList TfrmCercaFornitura::search(const Criteria& criteria, const Progress& progress) {
  SupplyOnSheet* sheet = supplyOnSheet();
  if (!sheet) throw StoreError("no supply is open");
  return searchSupply(qToPath(sheet->supplyFile()), criteria, Access::Existing, progress);
}

void TfrmCercaFornitura::pick(const Text& line) {
  SupplyOnSheet* sheet = supplyOnSheet();
  if (!sheet || !calledBy(SearchCaller::SupplySheet)) return;
  const auto found = supplysheet::findRecordOfLine(qToPath(sheet->supplyFile()), line);
  if (found) sheet->showItem(found->record, found->number);
}

QString TfrmCercaFornitura::supplyName() const {
  const SupplyOnSheet* sheet = supplyOnSheet();
  return sheet ? sheet->supplyName() : QString();
}

}  // namespace zel
