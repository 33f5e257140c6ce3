#include "output/officeexport.h"

#include <QDir>
#include <QUrl>

#include "output/core/docx.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

fs::path& chosenFolder() {
  static fs::path folder;
  return folder;
}

}  // namespace

fs::path exportFolder() {
  // Asked at every export: the temporary folder may change while the program runs.
  return chosenFolder().empty() ? qToPath(QDir::tempPath()) : chosenFolder();
}

void setExportFolder(const fs::path& folder) { chosenFolder() = folder; }

fs::path exportDocument(QWidget* parent, std::string_view name, const QString& failure,
                        const DocumentWriter& write) {
  fs::path written;
  try {
    services().withProgress(parent, QStringLiteral("Esportazione dei dati in corso..."),
                            [&](const Progress& progress) {
                              written = write(Destination::newFileIn(exportFolder(), name), progress);
                            });
  } catch (const Cancelled&) {
    return {};  // the user stopped it: nothing to say
  } catch (const std::exception&) {
    services().message(parent, failure);
    return {};
  }
  if (!services().openUrl(QUrl::fromLocalFile(pathToQ(written)))) {
    // The document the user asked for is kept: another computer, or an
    // office program installed later, opens it.
    services().message(parent, keptDocumentMessage(failure, written));
    return {};
  }
  return written;
}

void exportCardToWord(QWidget* parent, const CardDocument& card) {
  exportDocument(parent, card.fileName,
                 QStringLiteral("Si è verificato un errore imprevisto durante l'esportazione della scheda in "
                                "Microsoft Word."),
                 [&card](const Destination& to, const Progress&) { return writeCardDocument(card, to); });
}

}  // namespace zel
