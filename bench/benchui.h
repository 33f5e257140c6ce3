#pragma once
// What the window benchmarks share: Qt's offscreen platform, the desktop's
// own services except that nothing waits for the user (every question is
// answered Yes, nothing is opened, a printout goes into a PDF of a private
// folder), and a navigation the benchmark fills with the windows it made.
#include <QApplication>
#include <QMap>
#include <QTemporaryDir>

#include "benchdata.h"
#include "output/listprint.h"
#include "ui/base/flow.h"
#include "ui/base/pdfprint.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"
#include "ui/behaviour.h"

namespace zel::bench {

class QuietServices : public DesktopServices {
 public:
  void message(QWidget*, const QString&) override {}
  MsgAnswer box(QWidget*, const QString&, const QString&, MsgIcon, MsgButtons b) override {
    return b == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
  }
  bool openUrl(const QUrl&) override { return true; }
  QString chooseFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  QString chooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
  // As the desktop prints when no printer is installed.
  bool print(const QString& name, const std::function<void(QPagedPaintDevice&)>& render) override {
    lastPrintout = printToPdf(qToPath(printouts.path()), name, render);
    return true;
  }

  QTemporaryDir printouts;
  std::filesystem::path lastPrintout;
};

class BenchNavigation : public Navigation {
 public:
  void set(WindowId id, QWidget* window) { windows_[static_cast<int>(id)] = window; }
  QWidget* window(WindowId id) const override { return windows_.value(static_cast<int>(id)); }

 private:
  QMap<int, QWidget*> windows_;
};

// The window benchmarks' main: a QApplication on the offscreen platform with
// the quiet services, then the run.
inline int runWindowBenchmarks(int argc, char** argv, const std::function<void()>& registerAll) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  applyNumberConventions();
  QuietServices quiet;
  setServices(&quiet);
  BenchNavigation windows;
  setNavigation(&windows);
  const int rc = runBenchmarks(argc, argv, registerAll);
  setNavigation(nullptr);
  setServices(nullptr);
  return rc;
}

inline BenchNavigation& benchNavigation() { return static_cast<BenchNavigation&>(navigation()); }
inline QuietServices& quietServices() { return static_cast<QuietServices&>(services()); }

// Lets the window system catch up: layout and paint of what was shown.
inline void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
}

}  // namespace zel::bench
