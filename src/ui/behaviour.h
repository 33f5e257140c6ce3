#pragma once
// Behaviour shared by every window: text conversion at the record edge,
// focus colours, Enter chains, key filters, status texts, centring, the wait
// cursor and the guards that keep failures inside event handlers.
#include <QColor>
#include <QLabel>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>

#include "core/text.h"

class QWidget;
class QPlainTextEdit;

namespace zel {

namespace journal {
class JournalRefused;
}

// ---- text at the record edge ----
QString toQ(const Text& text);      // Windows-1252 bytes -> QString
Text fromQ(const QString& text);    // QString -> Windows-1252 ('?' where it cannot)
// The Windows-1252 text, or nothing when a character has no form there.
std::optional<Text> fromQExact(const QString& text);
// True when fromQ keeps every character (none turns into '?').
bool fitsArchive(const QString& text);
// Leading and trailing characters with codes 0 to 32 removed, as record
// texts are; accented letters and other characters stay.
QString trimmed(const QString& text);

// Applies the process-wide number and date conventions (comma decimal
// separator, dd/mm/yyyy) regardless of the system locale.
void applyNumberConventions();

// ---- colours ----
inline const QColor kMoneyGreen{192, 220, 192};
inline const QColor kFocusYellow{Qt::yellow};
inline const QColor kNavy{0, 0, 128};
inline const QColor kMaroon{128, 0, 0};
inline const QColor kSilver{192, 192, 192};

// Sets the field's own background colour and makes it turn yellow while it
// has the focus, its own colour coming back when the focus leaves.
void applyFocusColour(QWidget* field, const QColor& own);
void applyFocusColours(const QList<QWidget*>& fields, const QColor& own);
// The background colour a field shows now (for tests and checks).
QColor fieldColour(const QWidget* field);

// ---- keyboard ----
// Enter in a field of the chain moves the focus to the next one; the last
// leads back to the first. A multi-line box in the chain swallows Enter (no
// line break) and moves on too. Tab follows the same order.
void installEnterChain(const QList<QWidget*>& chain);
// Calls `accept` for every typed character (codes 32 and up; Backspace,
// Enter and control shortcuts pass untouched). When it returns false the key
// is discarded; `accept` gives its own message.
void installKeyFilter(QWidget* field, std::function<bool(QChar typed)> accept);
// A filter that lets only digits through and otherwise shows `message`.
void installDigitFilter(QWidget* field, const QString& message);
// Keeps a multi-line box within `maxChars` bytes of its record field, pastes
// included; a line break counts two, as it is stored as CR LF.
void limitLength(QPlainTextEdit* box, int maxChars);
// Upper-cases (ASCII letters only) a line edit's text after each change,
// keeping the caret where it was.
void installLiveUpperCase(QWidget* lineEdit);

// ---- hidden fields ----
// An invisible label that carries state (a record field the user never edits).
QLabel* hiddenLabel(QWidget* parent, const char* objectName);

// ---- status texts ----
// While the mouse is over `command`, `panel` shows `text`.
void setStatusText(QWidget* command, QLabel* panel, const QString& text);
// Moving the mouse over any of these background areas empties `panel`.
void clearStatusOver(const QList<QWidget*>& areas, QLabel* panel);

// ---- geometry ----
// Where a main screen places its container: W div 2 − w div 2 − 8 and
// H div 2 − h div 2 − 18, with W×H the window's outer size.
QPoint centredContainer(QSize window, QSize container);

// ---- cursor ----
// The hourglass while it lives; the previous cursor comes back on every path.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// ---- guards ----
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

// ---- clickable pictures and labels ----
// A picture or label that runs its command on click, with a hand cursor.
class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(QWidget* parent = nullptr);
  ClickLabel(const QString& objectName, QWidget* parent);
  // Whether the release of any mouse button clicks, not only the left one's.
  void setAnyButtonClicks(bool any) { anyButton_ = any; }
 signals:
  void clicked();
 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
 private:
  bool anyButton_ = false;
};

}  // namespace zel
