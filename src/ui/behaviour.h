#pragma once
// The input rules every window's boxes follow: focus colours, Enter chains,
// key filters, length limits, upper-casing and what leaving a box does. The
// foundation's text conversion, guards and wait cursor come along, as every
// window uses them. The widgets themselves are built with ui/kit.h.
#include <QColor>
#include <QList>
#include <QString>
#include <functional>

#include "ui/base/guards.h"
#include "ui/base/textconv.h"
#include "ui/base/waitcursor.h"

class QKeyEvent;
class QPlainTextEdit;
class QWidget;

namespace zel {

// ---- focus colours ----
// The field colours: money green for the cards' boxes, yellow under focus.
inline const QColor kMoneyGreen{192, 220, 192};
inline const QColor kFocusYellow{Qt::yellow};

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

bool isEnterKey(const QKeyEvent* key);

// ---- leaving a box ----
// Runs `handler` (guarded) when the box loses the focus to another control
// of the program: not when the whole window loses it or a menu pops up.
void onExit(QWidget* box, QWidget* owner, std::function<void()> handler);

}  // namespace zel
