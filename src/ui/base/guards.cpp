#include "ui/base/guards.h"

#include <exception>

#include "store/journal.h"
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

QString journalRefusedMessage(const journal::JournalRefused& refused) {
  const QString name = QString::fromStdString(refused.journal().string());
  const QString why =
      refused.reason() == journal::JournalRefused::Reason::DoesNotFit
          ? QStringLiteral("Il file di ripristino \"%1\" non corrisponde allo stato dell'archivio: "
                           "archivio e file di ripristino sono stati lasciati come erano.")
          : QStringLiteral("Il file di ripristino \"%1\" di un salvataggio interrotto non può essere "
                           "applicato da questa postazione ed è stato lasciato per una postazione "
                           "che possa farlo.");
  return archiveAccessMessage() + QStringLiteral("\n\r\n\r") + why.arg(name);
}

QString diskFullAccessMessage() {
  return archiveAccessMessage() +
         QStringLiteral("\n\r\n\rIl disco è pieno: liberare spazio su disco e riprovare.");
}

QString supplyGoneMessage() {
  return QStringLiteral(
      "Attenzione: la fornitura corrente non esiste più.\n\r\n\r"
      "Il file della fornitura è stato eliminato, forse da un'altra postazione: nessuna modifica è stata "
      "registrata.");
}

QString noLocksMessage() {
  return QStringLiteral(
      "Attenzione: la cartella del programma non consente di riservare gli archivi durante il lavoro.\n\r\n\r"
      "Più postazioni non devono salvare o eliminare schede contemporaneamente in questa cartella.");
}

namespace {

bool attemptAction(QWidget* parent, const std::function<void()>& action, const QString& changedMessage) {
  try {
    action();
    return true;
  } catch (const journal::JournalRefused& refused) {
    services().message(parent, journalRefusedMessage(refused));
  } catch (const StoreBusy&) {
    services().message(parent, archiveBusyMessage());
  } catch (const CardChanged&) {
    services().message(parent, changedMessage);
  } catch (const SupplyGone&) {
    services().message(parent, supplyGoneMessage());
  } catch (const StoreError& e) {
    services().message(parent, e.diskFull() ? diskFullAccessMessage() : archiveAccessMessage());
  } catch (const std::exception&) {
    services().message(parent, archiveAccessMessage());
  } catch (...) {
    services().message(parent, archiveAccessMessage());
  }
  return false;
}

}  // namespace

bool withArchive(QWidget* parent, const std::function<void()>& action, const QString& changedMessage) {
  const bool done = attemptAction(parent, action, changedMessage);
  if (locksRefusedNotice()) services().message(parent, noLocksMessage());
  return done;
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
