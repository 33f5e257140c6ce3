#include "supplies/esportafor.h"

#include "help/helptopics.h"
#include "supplies/forniture.h"
#include "ui/base/flow.h"
#include "ui/base/programfolder.h"

namespace zel {

TfrmEsportaFor::TfrmEsportaFor(QWidget* parent)
    : ExportWindow(QStringLiteral("frmEsportaFor"),
                   QStringLiteral(" Esportazione archivio prodotti o servizi forniti in Microsoft Word ed Excel"),
                   supplyGrid(), help::supplyExportTopic, parent) {}

std::filesystem::path TfrmEsportaFor::archiveFile() const {
  // The supply open in the sheet, as its lblFile names it.
  auto* sheet = windowAs<TfrmForniture>(WindowId::SupplySheet);
  return sheet ? qToPath(sheet->supplyFile()) : std::filesystem::path();
}

}  // namespace zel
