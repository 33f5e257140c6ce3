#pragma once
// Fakes of the window layer's seams, for the window tests and the window
// benchmarks: services that record every message box and outside call and
// answer questions with queued answers (Yes when none is queued), a window
// flow that never runs a modal loop, a navigation the test fills, and a
// temporary program folder. Each installs itself while it lives.
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <filesystem>
#include <functional>
#include <utility>

#include "support/tempfolder.h"
#include "ui/base/flow.h"
#include "ui/base/helptopic.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"

class QDialog;

namespace zel::test {

struct ShownMessage {
  QString text;
  QString title;  // empty for plain messages
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  bool plain = true;
};

class FakeServices : public Services {
 public:
  FakeServices();
  ~FakeServices() override;
  FakeServices(const FakeServices&) = delete;
  FakeServices& operator=(const FakeServices&) = delete;

  void message(QWidget*, const QString& text) override;
  MsgAnswer box(QWidget*, const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override;
  bool openUrl(const QUrl& url) override;
  QString chooseFile(QWidget*, const QString& caption, const QString& folder, const QString& filter) override;
  QString chooseFolder(QWidget*, const QString& caption, const QString& folder) override;
  bool print(const QString& name, const std::function<void(QPagedPaintDevice&)>&) override;
  // Runs the work at once; with `cancelLongWork` the user has pressed the
  // progress window's cancel button before it started.
  void withProgress(QWidget*, const QString& text, const std::function<void(const Progress&)>& work) override;

  // The texts of every message shown so far.
  QStringList texts() const;
  const ShownMessage& last() const { return messages.last(); }
  void clear() {
    messages.clear();
    urls.clear();
  }

  // Keeps no record of what was shown or opened: a benchmark that repeats
  // an action thousands of times would pile it all up.
  bool quiet = false;
  QList<ShownMessage> messages;
  std::deque<MsgAnswer> answers;
  QList<QUrl> urls;
  QString nextFile, nextFolder;
  QList<QStringList> choosers;  // caption (and filter) of every file or folder chooser shown
  QStringList chooserStarts;    // where each chooser opened
  bool urlsOpen = true;  // whether the desktop has an application for what is opened
  QStringList printed;
  QStringList longWork;  // the texts of the progress windows, in order
  bool cancelLongWork = false;
  std::pair<size_t, size_t> lastReport{0, 0};  // done, total

 private:
  Services* previous_;
};

// The window benchmarks' services: quiet, every question answered Yes, a
// printout drawn into a PDF of a private folder (as the desktop prints when
// no printer is installed), and long work under the desktop's own progress
// window, as the user waits for it.
class BenchServices : public FakeServices {
 public:
  BenchServices() { quiet = true; }
  bool print(const QString& name, const std::function<void(QPagedPaintDevice&)>& render) override;
  void withProgress(QWidget* parent, const QString& text, const std::function<void(const Progress&)>& work) override {
    desktop_.withProgress(parent, text, work);
  }

  std::filesystem::path lastPrintout;

 private:
  TempFolder printouts_;
  DesktopServices desktop_;
};

// A window-flow fake: dialogs are not run but handed to `onModal` (which
// may look at them and answer for the user), help topics and quits are
// recorded. The test's own fake replaces the one main() installs.
class FakeFlow : public WindowFlow {
 public:
  FakeFlow() { previous_ = setFlow(this); }
  ~FakeFlow() override { setFlow(previous_); }
  FakeFlow(const FakeFlow&) = delete;
  FakeFlow& operator=(const FakeFlow&) = delete;

  int runModal(QDialog& dialog) override;
  void showHelp(const HelpTopic& topic) override { helpShown.append(topic); }
  void quit() override { ++quits; }

  std::function<int(QDialog&)> onModal;
  QStringList dialogs;  // class names of the dialogs run, in order
  QList<HelpTopic> helpShown;
  int quits = 0;

 private:
  WindowFlow* previous_;
};

// A navigation fake: the single-instance windows a test hands to it.
class FakeNavigation : public Navigation {
 public:
  FakeNavigation() { previous_ = setNavigation(this); }
  ~FakeNavigation() override { setNavigation(previous_); }
  FakeNavigation(const FakeNavigation&) = delete;
  FakeNavigation& operator=(const FakeNavigation&) = delete;

  void set(WindowId id, QWidget* window) { windows_[static_cast<int>(id)] = window; }
  QWidget* window(WindowId id) const override { return windows_.value(static_cast<int>(id)); }

 private:
  QMap<int, QWidget*> windows_;
  Navigation* previous_;
};

// A temporary program folder for the duration of a test.
class TempProgramFolder {
 public:
  TempProgramFolder();
  ~TempProgramFolder();
  TempProgramFolder(const TempProgramFolder&) = delete;
  TempProgramFolder& operator=(const TempProgramFolder&) = delete;

  const std::filesystem::path& path() const { return folder_.path(); }
  std::filesystem::path file(const char* name) const { return path() / name; }

 private:
  TempFolder folder_;
  std::filesystem::path previous_;
};

}  // namespace zel::test
