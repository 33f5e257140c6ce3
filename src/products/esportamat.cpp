#include "products/esportamat.h"

#include "help/helptopics.h"
#include "store/archives.h"
#include "ui/base/programfolder.h"

namespace zel {

TfrmEsportaMat::TfrmEsportaMat(QWidget* parent)
    : ExportWindow(QStringLiteral("frmEsportaMat"),
                   QStringLiteral(" Esportazione archivio prodotti e servizi in Microsoft Word ed Excel"),
                   productGrid(), help::productExportTopic, parent) {}

std::filesystem::path TfrmEsportaMat::archiveFile() const { return productArchive(programFolder()).file; }

}  // namespace zel
