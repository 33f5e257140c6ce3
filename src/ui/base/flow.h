#pragma once
// The window flow: how one window hands the user over to another. Running a
// dialog modally, showing a help topic and ending the program go through one
// seam, installed the same way as the services: start-up installs the
// program's own, tests install a fake that records what would have been
// shown. Screens find the single-instance windows through the navigation
// interface instead of reaching into the program's table of windows.
#include <QPointer>
#include <QWidget>

#include "ui/base/helptopic.h"

class QDialog;

namespace zel {

class WindowFlow {
 public:
  virtual ~WindowFlow() = default;
  // Shows the dialog modally and returns its result.
  virtual int runModal(QDialog& dialog) = 0;
  // Shows a topic in the help window.
  virtual void showHelp(const HelpTopic& topic) = 0;
  // Ends the program.
  virtual void quit() = 0;
};

// The flow in use. Never null: without one installed, dialogs run with
// exec(), help is not shown and quitting ends the event loop.
WindowFlow& flow();
// Installs a flow (not owned) and returns the previous one.
WindowFlow* setFlow(WindowFlow* flow);

// The windows that exist once for the whole program and that a screen moves
// to or shows.
enum class WindowId {
  StartScreen,
  ClientCard,
  ProductCard,
  CreateSupply,
  OpenSupply,
  SupplySheet,
  ClientExport,
  ProductExport,
  SupplyExport,
  PendingPayments,
  Login,
  ChangePassword,
  About,
  Credits,
};

class Navigation {
 public:
  virtual ~Navigation() = default;
  // The window, or null when it does not exist (yet).
  virtual QWidget* window(WindowId id) const = 0;
};

Navigation& navigation();
Navigation* setNavigation(Navigation* navigation);

// The window as the class the caller expects, or null.
template <class T>
T* windowAs(WindowId id) {
  return qobject_cast<T*>(navigation().window(id));
}

}  // namespace zel
