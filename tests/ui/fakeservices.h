#pragma once
// A services fake for window tests: records every message box and outside
// call, and answers questions with queued answers (Yes when none is queued).
#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>

#include "ui/programfolder.h"
#include "ui/services.h"

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
  bool openUrl(const QUrl& url) override { urls.append(url); return true; }
  QString chooseFile(QWidget*, const QString&, const QString&) override { return nextFile; }
  QString chooseFolder(QWidget*, const QString&, const QString&) override { return nextFolder; }
  bool print(const QString& name, const std::function<void(QPagedPaintDevice&)>&) override {
    printed.append(name);
    return true;
  }
  bool openOfficeDocument(const QString& name, const QByteArray& content) override {
    officeNames.append(name);
    officeContents.append(content);
    return true;
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
  QStringList printed, officeNames;
  QList<QByteArray> officeContents;

 private:
  Services* previous_;
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
