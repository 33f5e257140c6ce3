#pragma once
// The guards that keep failures inside event handlers: every handler that
// touches an archive runs in withArchive, every other one in guarded, so no
// exception reaches Qt's event loop and the user sees one message.
#include <QString>
#include <functional>

class QWidget;

namespace zel {

// The one message for every failure to reach an archive.
QString archiveAccessMessage();
// Another instance on the same folder keeps the archive locked (StoreBusy).
QString archiveBusyMessage();
// The record on the card changed or went since it was read (CardChanged).
QString cardChangedMessage();
// The record on the card was rewritten by this program since the card read
// it (a product import lowered its stock): the same refusal, without
// blaming another desk.
QString cardChangedHereMessage();
// Runs an action that touches files: a busy archive and a changed card show
// their own messages (`changedMessage` for a changed card), a StoreError (or
// any other failure) the archive-access message. Returns true when the
// action completed.
bool withArchive(QWidget* parent, const std::function<void()>& action,
                 const QString& changedMessage = cardChangedMessage());
// Runs a handler; an error that would otherwise escape it is shown as a
// message with its text. Returns true when the handler completed.
bool guarded(QWidget* parent, const std::function<void()>& handler);

}  // namespace zel
