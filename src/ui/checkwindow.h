#pragma once
// An identifier check window: a logo, two instruction lines, one edit box in
// its frame and the button "Controlla" that runs the check. The opener hands
// over the text to check and nothing comes back: the window shows the result
// itself and closes, or, when it refused the text for its length, stays open
// with the focus back in the box. The four windows are this one base with
// their own data.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string_view>

#include "checks/core/checkresult.h"
#include "ui/dialog.h"

class QKeyEvent;

namespace zel {

// What one check window is made of. Texts are UTF-8.
struct CheckWindowData {
  const char* objectName;
  const char* caption;
  const char* logo;  // resource of the picture at the top
  const char* fieldName;
  const char* info1Name;  // the second instruction line is always lblInfo02
  const char* buttonName;
  const char* info1;
  const char* info2;
  int width;         // of the client area; the box takes what the margins leave
  int maxLength;     // typing stops at this length; 0 for no limit
  bool upperCase;    // letters turn upper-case as they are typed
  bool digitsOnly;   // typed keys other than digits, Backspace and Enter are refused
  bool handCursor;   // over "Controlla"
  // With a name, the box's frame is plain and stands on a background shape
  // of this name; without, the frame is hatched.
  const char* backgroundName;
  // Whether the text is long enough for "Controlla" (and Enter) to run.
  bool (*canCheck)(std::string_view text);
  // What "Controlla" shows for the box's text.
  CheckResult (*result)(std::string_view text);
  // Whether Enter presses "Controlla"; by default whenever it can run.
  bool (*enterChecks)(std::string_view text) = nullptr;
};

class CheckWindow : public Dialog {
  Q_OBJECT
 public:
  // Puts `text` into the box and shows the window modally. When it closes,
  // `opener` (the card's field the text came from) has the keyboard again.
  int check(const QString& text, QWidget* opener = nullptr);

 protected:
  CheckWindow(const CheckWindowData& data, QWidget* parent);

  // The two instruction lines, for a window that words them again.
  QLabel* info1() const { return info1_; }
  QLabel* info2() const { return info2_; }

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether the text is long enough for the check to run.
  bool complete() const;
  void fieldChange();
  // Enter in the box; true when the key was handled.
  bool fieldKeyPress(const QKeyEvent* key);
  void checkClick();

  class TypingLimit;

  QLabel* const imgLogo;
  QWidget* const shpContainer;
  const CheckWindowData& data_;
  QWidget* background_;  // the shape under the frame, or null for a hatched frame
  QLineEdit* field_;
  QLabel* info1_;
  QLabel* info2_;
  QPushButton* button_;
  TypingLimit* limit_ = nullptr;  // none when the box has no limit
};

}  // namespace zel
