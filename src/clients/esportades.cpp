#include "clients/esportades.h"

#include "store/layout.h"
#include "store/archives.h"
#include "ui/programfolder.h"

namespace zel {

TfrmEsportaDes::TfrmEsportaDes(QWidget* parent)
    : ExportWindow(QStringLiteral("frmEsportaDes"),
                   QStringLiteral(" Esportazione archivio anagrafico clienti in Microsoft Word ed Excel"), parent, clientLayout(), {
      {QStringLiteral(" Codice identificativo"), 250, "Codice"},
      {QStringLiteral(" Cliente (persona o azienda)"), 250, "Persona"},
      {QStringLiteral(" Ufficio o altri dettagli"), 250, "Ufficio"},
      {QStringLiteral(" Indirizzo"), 300, "Indirizzo"},
      {QStringLiteral(" CAP, città e sigla prov."), 300, "Citta"},
      {QStringLiteral(" Tipo documento"), 250, "TipoDoc"},
      {QStringLiteral(" Numero documento"), 250, "NumDoc"},
      {QStringLiteral(" Ente di rilascio"), 250, "EnteDoc"},
      {QStringLiteral(" Data di rilascio"), 250, "RilDoc"},
      {QStringLiteral(" Data di scadenza"), 250, "ScaDoc"},
      {QStringLiteral(" Codice fiscale"), 250, "CodFisc"},
      {QStringLiteral(" Partita IVA"), 250, "Iva"},
      {QStringLiteral(" Carta di credito n."), 250, "Carta"},
      {QStringLiteral(" Tipo carta di credito"), 250, "TipoCarta"},
      {QStringLiteral(" Scadenza carta di credito"), 250, "ScaCarta"},
      {QStringLiteral(" Codice IBAN"), 250, "Iban"},
      {QStringLiteral(" Banca"), 250, "Banca"},
      {QStringLiteral(" Intestatario C/C"), 250, "Intestatario"},
      {QStringLiteral(" Modalità di pagamento"), 300, "Pagamento"},
      {QStringLiteral(" Tel. casa"), 200, "TelCasa"},
      {QStringLiteral(" Tel. ufficio"), 200, "TelUff"},
      {QStringLiteral(" Tel. cellulare"), 200, "TelCel"},
      {QStringLiteral(" Fax"), 200, "Fax"},
      {QStringLiteral(" E-mail"), 250, "Email"},
      {QStringLiteral(" Note"), 400, "Note"},
                   }) {}

std::filesystem::path TfrmEsportaDes::archiveFile() const { return clientArchive(programFolder()).file; }

}  // namespace zel
