#pragma once
// The guards that keep failures inside event handlers: every handler that
// touches an archive runs in withArchive, every other one in guarded, so no
// exception reaches Qt's event loop and the user sees one message.
#include <QString>
#include <functional>

class QWidget;

namespace zel {

namespace journal {
class JournalRefused;
}

// The one message for every failure to reach an archive.
QString archiveAccessMessage();
// The same when the disk (or the user's quota) is full: one sentence more.
QString diskFullAccessMessage();
// The supply open in the sheet no longer exists (SupplyGone).
QString supplyGoneMessage();
// Said once per session when the folder's file system takes no locks.
QString noLocksMessage();
// Another instance on the same folder keeps the archive locked (StoreBusy).
QString archiveBusyMessage();
// The record on the card changed or went since it was read (CardChanged).
QString cardChangedMessage();
// The record on the card was rewritten by this program since the card read
// it (a product import lowered its stock): the same refusal, without
// blaming another desk.
QString cardChangedHereMessage();
// The archive-access message followed by a sentence naming the journal of an
// interrupted save that was not applied, and why (JournalRefused).
QString journalRefusedMessage(const journal::JournalRefused& refused);
// Runs an action that touches files: a busy archive, a changed card
// (`changedMessage`) and a supply gone show their own messages, a StoreError
// (or any other failure) the archive-access message, with the disk-full
// sentence when that was the cause and the journal named when one stopped the
// action. The first action of a session that found the folder without locks
// also says that several desks must not write at once. Returns true when the
// action completed.
bool withArchive(QWidget* parent, const std::function<void()>& action,
                 const QString& changedMessage = cardChangedMessage());
// Runs a handler; an error that would otherwise escape it is shown as a
// message with its text. Returns true when the handler completed.
bool guarded(QWidget* parent, const std::function<void()>& handler);

}  // namespace zel
