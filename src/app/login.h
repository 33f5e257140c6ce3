#pragma once
// The login window as the change-password window sees it: the window it goes
// back to when it closes. The change window knows no more of the login than
// this, and the login opens the change window.
#include <QString>

namespace zel {

// The refusal of a typed password that holds a character without a
// Windows-1252 form: folded to '?', two different passwords would be one.
// Both windows say it (defined with the login window).
QString foreignPasswordMessage();

class LoginWindow {
 public:
  virtual ~LoginWindow() = default;
  // Back from the password change: the box and the work field empty, the
  // window shown and active.
  virtual void showAgain() = 0;
  // The keyboard back in the password box.
  virtual void focusPassword() = 0;
};

}  // namespace zel
