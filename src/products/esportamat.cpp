#include "products/esportamat.h"

#include "store/layout.h"
#include "store/archives.h"
#include "ui/programfolder.h"

namespace zel {

TfrmEsportaMat::TfrmEsportaMat(QWidget* parent)
    : ExportWindow(QStringLiteral("frmEsportaMat"),
                   QStringLiteral(" Esportazione archivio prodotti e servizi in Microsoft Word ed Excel"), parent, productLayout(), {
      {QStringLiteral(" Codice articolo"), 200, "Codice"},
      {QStringLiteral(" Tipologia"), 250, "Tipologia"},
      {QStringLiteral(" Marca"), 250, "Marca"},
      {QStringLiteral(" Modello"), 250, "Modello"},
      {QStringLiteral(" Accessori"), 400, "Accessori"},
      {QStringLiteral(" Descrizione prodotto o servizio"), 500, "Descrizione"},
      {QStringLiteral(" Fornitore"), 400, "Fornitore"},
      {QStringLiteral(" Recapito"), 250, "Recapito"},
      {QStringLiteral(" Data di acquisto"), 200, "Data"},
      {QStringLiteral(" Costo di acquisto"), 200, "Costo"},
      {QStringLiteral(" Documento di acquisto"), 400, "Documento"},
      {QStringLiteral(" Modalità di ordine merce"), 400, "Ordine"},
      {QStringLiteral(" Prezzo unitario"), 200, "Prezzo"},
      {QStringLiteral(" Collocazione"), 400, "Collocazione"},
      {QStringLiteral(" Giacenza"), 200, "Giacenza"},
      {QStringLiteral(" Note"), 600, "Note"},
                   }) {}

std::filesystem::path TfrmEsportaMat::archiveFile() const { return productArchive(programFolder()).file; }

}  // namespace zel
