#include "ui/base/flow.h"

#include <QApplication>
#include <QDialog>

namespace zel {
namespace {

class PlainFlow : public WindowFlow {
 public:
  int runModal(QDialog& dialog) override { return dialog.exec(); }
  void showHelp(const HelpTopic&) override {}
  void quit() override { QApplication::quit(); }
};

class NoWindows : public Navigation {
 public:
  QWidget* window(WindowId) const override { return nullptr; }
};

WindowFlow* currentFlow = nullptr;
Navigation* currentNavigation = nullptr;

}  // namespace

WindowFlow& flow() {
  static PlainFlow plain;
  return currentFlow ? *currentFlow : plain;
}

WindowFlow* setFlow(WindowFlow* f) {
  WindowFlow* previous = currentFlow;
  currentFlow = f;
  return previous;
}

Navigation& navigation() {
  static NoWindows none;
  return currentNavigation ? *currentNavigation : none;
}

Navigation* setNavigation(Navigation* n) {
  Navigation* previous = currentNavigation;
  currentNavigation = n;
  return previous;
}

}  // namespace zel
