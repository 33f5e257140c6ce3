#pragma once
// An identifier check window: two instruction lines, one edit box and the
// button that runs the check. The opener hands over the text to check and
// nothing comes back; the window shows the result itself and closes.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/dialog.h"

namespace zel {

class CheckWindow : public Dialog {
  Q_OBJECT
 public:
  // Puts `text` into the box and shows the window modally.
  int check(const QString& text);

 protected:
  // `threshold` is the length from which the check button is enabled.
  CheckWindow(const QString& objectName, const QString& caption, QWidget* parent, const char* fieldName,
              const char* info1Name, const char* buttonName, int threshold);

  QLineEdit* field() const { return field_; }
  QLabel* info1() const { return info1_; }
  QLabel* info2() const { return info2_; }
  QPushButton* checkButton() const { return button_; }
  int threshold() const { return threshold_; }
  // Whether the text is long enough for the check to run.
  bool complete() const { return field_->text().size() >= threshold_; }

  // The check itself: runs when the button is pressed.
  virtual void runCheck() = 0;

 private:
  QLineEdit* field_;
  QLabel* info1_;
  QLabel* info2_;
  QPushButton* button_;
  int threshold_;
};

}  // namespace zel
