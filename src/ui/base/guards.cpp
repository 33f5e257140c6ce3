#include "ui/base/guards.h"

#include <exception>

#include "store/recordfile.h"
#include "ui/base/services.h"

namespace zel {

QString archiveAccessMessage() {
  return QStringLiteral(
      "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
      "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");
}

QString archiveBusyMessage() {
  return QStringLiteral(
      "Attenzione: l'archivio è in uso da un'altra postazione.\n\r\n\r"
      "Riprovare tra qualche istante.");
}

QString cardChangedMessage() {
  return QStringLiteral(
      "Attenzione: la scheda è stata modificata o eliminata da un'altra postazione.\n\r\n\r"
      "Riaprire la scheda prima di salvarla o eliminarla.");
}

QString cardChangedHereMessage() {
  return QStringLiteral(
      "Attenzione: la scheda è stata modificata in archivio dopo essere stata aperta (ad esempio "
      "dall'importazione del prodotto in una fornitura).\n\r\n\r"
      "Riaprire la scheda prima di salvarla o eliminarla.");
}

bool withArchive(QWidget* parent, const std::function<void()>& action, const QString& changedMessage) {
  try {
    action();
    return true;
  } catch (const StoreBusy&) {
    services().message(parent, archiveBusyMessage());
  } catch (const CardChanged&) {
    services().message(parent, changedMessage);
  } catch (const std::exception&) {
    services().message(parent, archiveAccessMessage());
  } catch (...) {
    services().message(parent, archiveAccessMessage());
  }
  return false;
}

bool guarded(QWidget* parent, const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    services().message(parent, QString::fromLocal8Bit(e.what()));
  } catch (...) {
    services().message(parent, QStringLiteral("Attenzione: errore imprevisto."));
  }
  return false;
}

}  // namespace zel
