#pragma once
// Behaviour shared by every window: focus colours, Enter chains, key
// filters, status texts, centring and clickable pictures. The foundation's
// text conversion, guards and wait cursor come along, as every window uses
// them.
#include <QColor>
#include <QLabel>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>

#include "ui/base/guards.h"
#include "ui/base/textconv.h"
#include "ui/base/waitcursor.h"

class QWidget;
class QPlainTextEdit;

namespace zel {

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
