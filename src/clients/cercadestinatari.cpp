#include "clients/cercadestinatari.h"

#include "store/archives.h"
#include "store/clientsearch.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/cardscreen.h"
#include "ui/kit.h"
#include "ui/pickreceiver.h"

namespace zel {

TfrmCercaDestinatari::TfrmCercaDestinatari(QWidget* parent)
    : SearchWindow(QStringLiteral("frmCercaDestinatari"), QStringLiteral(" Ricerca clienti in archivio"), parent,
                   {QStringLiteral("Ricerca clienti in archivio"),
                    QStringLiteral("dei clienti da cercare e premere il pulsante Trova."),
                    QColor(240, 240, 240),
                    uiFont(FontFamily::Verdana, pt(8), Bold),
                    uiFont(FontFamily::CourierNew, pt(8)),
                    1500,
                    PrintedList::ClientSearch,
                    false}) {
  addCriteria({
      {"txtCodice", "Codice identificativo:", client::Codice},
      {"txtPersona", "Persona o azienda:", client::Persona},
      {"txtUfficio", "Ufficio o altri dettagli:", client::Ufficio},
      {"txtIndirizzo", "Indirizzo:", client::Indirizzo},
      {"txtCitta", "CAP, città e sigla prov.", client::Citta},
      {"txtNumDoc", "Numero documento:", client::NumDoc},
      {"txtCodFisc", "Codice fiscale:", client::CodFisc},
      {"txtIva", "Partita IVA:", client::Iva},
      {"txtNote", "Note:", client::Note},
  });
}

TextList TfrmCercaDestinatari::search(const Criteria& criteria, const Progress& progress) {
  return searchClients(programFile(kClientArchive), criteria, Access::Update, progress);
}

void TfrmCercaDestinatari::pick(const Text& line) {
  const std::optional<PickedRecord> found = pickClient(programFile(kClientArchive), line);
  if (!found) return;
  if (calledBy(SearchCaller::ClientCard)) {
    if (auto* card = windowAs<CardScreen>(WindowId::ClientCard)) card->showRecord(found->record, found->number);
  } else if (calledBy(SearchCaller::SupplySheet)) {
    if (PickReceiver* sheet = pickReceiver(WindowId::SupplySheet))
      sheet->setClient(toQ(found->record[client::Persona]));
  }
}

}  // namespace zel
