#pragma once
// A services fake for window tests: records every message box and outside
// call, and answers questions with queued answers (Yes when none is queued).
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <deque>
#include <utility>

#include <QDialog>
#include <functional>

#include "ui/base/flow.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"

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
  FakeServices() { previous_ = setServices(this); }
  ~FakeServices() override { setServices(previous_); }

  void message(QWidget*, const QString& text) override { messages.append({text, {}, MsgIcon::None, MsgButtons::Ok, true}); }
  MsgAnswer box(QWidget*, const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override {
    messages.append({text, title, icon, buttons, false});
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    if (answers.empty()) return MsgAnswer::Yes;
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  bool openUrl(const QUrl& url) override {
    urls.append(url);
    return urlsOpen;
  }
  QString chooseFile(QWidget*, const QString& caption, const QString& folder, const QString& filter) override {
    choosers.append({caption, filter});
    chooserStarts.append(folder);
    return nextFile;
  }
  QString chooseFolder(QWidget*, const QString& caption, const QString& folder) override {
    choosers.append({caption});
    chooserStarts.append(folder);
    return nextFolder;
  }
  bool print(const QString& name, const std::function<void(QPagedPaintDevice&)>&) override {
    printed.append(name);
    return true;
  }
  // Runs the work at once; with `cancelLongWork` the user has pressed the
  // progress window's cancel button before it started.
  void withProgress(QWidget*, const QString& text, const std::function<void(const Progress&)>& work) override {
    longWork.append(text);
    std::atomic<bool> cancelled{cancelLongWork};
    Progress progress;
    progress.cancel = &cancelled;
    progress.report = [this](size_t done, size_t total) { lastReport = {done, total}; };
    work(progress);
  }

  // The texts of every message shown so far.
  QStringList texts() const {
    QStringList t;
    for (const auto& m : messages) t << m.text;
    return t;
  }
  const ShownMessage& last() const { return messages.last(); }
  void clear() { messages.clear(); urls.clear(); }

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

// A window-flow fake: dialogs are not run but handed to `onModal` (which
// may look at them and answer for the user), help topics and quits are
// recorded. The test's own fake replaces the one main() installs.
class FakeFlow : public WindowFlow {
 public:
  FakeFlow() { previous_ = setFlow(this); }
  ~FakeFlow() override { setFlow(previous_); }

  int runModal(QDialog& dialog) override {
    dialogs.append(QString::fromLatin1(dialog.metaObject()->className()));
    return onModal ? onModal(dialog) : 0;
  }
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
  void set(WindowId id, QWidget* window) { windows_[static_cast<int>(id)] = window; }
  QWidget* window(WindowId id) const override { return windows_.value(static_cast<int>(id)); }

 private:
  QMap<int, QWidget*> windows_;
  Navigation* previous_;
};

// A temporary program folder for the duration of a test.
class TempProgramFolder {
 public:
  TempProgramFolder() { previous_ = programFolder(); setProgramFolder(qToPath(dir_.path())); }
  ~TempProgramFolder() { setProgramFolder(previous_); }
  std::filesystem::path path() const { return qToPath(dir_.path()); }
  std::filesystem::path file(const char* name) const { return path() / name; }

 private:
  QTemporaryDir dir_;
  std::filesystem::path previous_;
};

}  // namespace zel::test
