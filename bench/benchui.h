#pragma once
// What the window benchmarks share: Qt's offscreen platform, the tests'
// services fake in its benchmark form (nothing waits for the user: every
// question is answered Yes, nothing is kept or opened, a printout goes into
// a PDF of a private folder) and the tests' navigation fake, which the
// benchmark fills with the windows it made.
#include <QApplication>

#include "benchdata.h"
#include "output/listprint.h"
#include "support/ui/fakes.h"
#include "ui/base/programfolder.h"
#include "ui/behaviour.h"

namespace zel::bench {

// The window benchmarks' main: a QApplication on the offscreen platform with
// the benchmark services, then the run.
inline int runWindowBenchmarks(int argc, char** argv, const std::function<void()>& registerAll) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  applyNumberConventions();
  test::BenchServices services;
  test::FakeNavigation windows;
  return runBenchmarks(argc, argv, registerAll);
}

inline test::FakeNavigation& benchNavigation() { return static_cast<test::FakeNavigation&>(navigation()); }
inline test::BenchServices& benchServices() { return static_cast<test::BenchServices&>(services()); }

// Lets the window system catch up: layout and paint of what was shown.
inline void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
}

}  // namespace zel::bench
