// Runs the window tests on Qt's offscreen platform with a fake services seam.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/startup.h"
#include "support/ui/fakes.h"
#include "ui/behaviour.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  zel::ZelvanoApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zelvano"));
  zel::applyNumberConventions();
  // No test ever waits in a real modal loop.
  zel::test::FakeFlow flow;
  return RUN_ALL_TESTS();
}
