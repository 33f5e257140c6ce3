#include "clients/esportades.h"

#include "help/helptopics.h"
#include "store/archives.h"
#include "ui/base/programfolder.h"

namespace zel {

TfrmEsportaDes::TfrmEsportaDes(QWidget* parent)
    : ExportWindow(QStringLiteral("frmEsportaDes"),
                   QStringLiteral(" Esportazione archivio anagrafico clienti in Microsoft Word ed Excel"),
                   clientGrid(), help::clientExportTopic, parent) {}

std::filesystem::path TfrmEsportaDes::archiveFile() const { return clientArchive(programFolder()).file; }

}  // namespace zel
