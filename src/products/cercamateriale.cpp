#include "products/cercamateriale.h"

#include "store/archives.h"
#include "store/productsearch.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/cardscreen.h"
#include "ui/kit.h"

namespace zel {

TfrmCercaMateriale::TfrmCercaMateriale(QWidget* parent)
    : SearchWindow(QStringLiteral("frmCercaMateriale"), QStringLiteral(" Ricerca prodotti e servizi in archivio"),
                   parent,
                   {QStringLiteral("Ricerca prodotti e servizi in archivio"),
                    QStringLiteral("dei prodotti o servizi da cercare e premere il pulsante Trova."),
                    kSilver,
                    uiFont(FontFamily::Verdana, pt(8), Bold),
                    uiFont(FontFamily::CourierNew, px(11)),
                    3000,
                    PrintedList::ProductSearch,
                    true}) {
  // The boxes keep the names they have always had, whatever they search.
  addCriteria({
      {"txtCognome", "Codice articolo:", product::Codice},
      {"cboGiorno", "Tipologia:", product::Tipologia},
      {"txtNome", "Marca:", product::Marca},
      {"cboMese", "Modello:", product::Modello},
      {"txtAzienda", "Accessori:", product::Accessori},
      {"txtAnno", "Descrizione prodotto o servizio:", product::Descrizione},
      {"txtDettagli", "Note:", product::Note},
  });
}

TextList TfrmCercaMateriale::search(const Criteria& criteria, const Progress& progress) {
  return searchProducts(programFile(kProductArchive), criteria, Access::Update, progress);
}

void TfrmCercaMateriale::pick(const Text& line) {
  if (!calledBy(SearchCaller::ProductCard)) return;
  const std::optional<PickedRecord> found = pickProduct(programFile(kProductArchive), line);
  auto* card = windowAs<CardScreen>(WindowId::ProductCard);
  if (found && card) card->showRecord(found->record, found->number);
}

}  // namespace zel
