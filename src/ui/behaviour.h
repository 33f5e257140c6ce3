#pragma once
// The input rules every window's boxes follow: focus colours, Enter chains,
// key filters, length limits, upper-casing and what leaving a box does. The
// foundation's text conversion, guards and wait cursor come along, as every
// window uses them. The widgets themselves are built with ui/kit.h.
#include <QColor>
#include <QList>
#include <QString>
#include <functional>
#include <string_view>

#include "ui/base/guards.h"
#include "ui/base/textconv.h"
#include "ui/base/waitcursor.h"

class QKeyEvent;
class QLineEdit;
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

// ---- number boxes ----
// What a number box does with a key: takes it, refuses it, or refuses it and
// puts its reset text back.
enum class BoxKey { Take, Refuse, Reset };

// What a number box accepts and what it says when it refuses. The verdicts
// are the record rules' own (digits, the Italian comma, the highest value),
// given as functions of the box's text as the record would hold it.
struct NumberBoxRule {
  // The verdict on a character typed into a box that holds `current`.
  std::function<BoxKey(std::string_view current, char32_t typed)> key;
  // Whether Backspace (U+0008) is judged by `key` too; otherwise it always works.
  bool judgesBackspace = false;
  // Text that comes whole rather than key by key. With `pasteKey`, the paste
  // shortcut is judged before it pastes (the box's text, what the paste
  // keeps of it, the pasted text), and it is the only way in: the box has no
  // context menu, takes no drops and no middle-button paste. With
  // `takesEdit`, any edit that did not come through a key (a paste, a drop,
  // the middle button) stays only when it passes from the text before to
  // the text after.
  std::function<BoxKey(std::string_view current, std::string_view kept, std::string_view pasted)> pasteKey;
  std::function<bool(std::string_view before, std::string_view after)> takesEdit;
  // The box's text after a reset.
  QString resetText;
  // Said at a refusal and at a reset, in a box with `title` and OK alone; an
  // empty text refuses or resets without a word.
  QString refusal;
  QString resetWarning;
  QString title;
};
// Makes `box` a number box of `rule`. Enter, movement keys and editing
// shortcuts other than paste pass untouched.
void installNumberBox(QLineEdit* box, NumberBoxRule rule);

// ---- leaving a box ----
// Runs `handler` (guarded) when the box loses the focus to another control
// of the program: not when the whole window loses it or a menu pops up.
void onExit(QWidget* box, QWidget* owner, std::function<void()> handler);

}  // namespace zel
