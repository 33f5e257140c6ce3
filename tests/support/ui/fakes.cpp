#include "support/ui/fakes.h"

#include <QDialog>
#include <atomic>

#include "ui/base/pdfprint.h"

namespace zel::test {

FakeServices::FakeServices() { previous_ = setServices(this); }

FakeServices::~FakeServices() { setServices(previous_); }

void FakeServices::message(QWidget*, const QString& text) {
  if (!quiet) messages.append({text, {}, MsgIcon::None, MsgButtons::Ok, true});
}

MsgAnswer FakeServices::box(QWidget*, const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) {
  if (!quiet) messages.append({text, title, icon, buttons, false});
  if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  if (answers.empty()) return MsgAnswer::Yes;
  const MsgAnswer a = answers.front();
  answers.pop_front();
  return a;
}

bool FakeServices::openUrl(const QUrl& url) {
  if (!quiet) urls.append(url);
  return urlsOpen;
}

QString FakeServices::chooseFile(QWidget*, const QString& caption, const QString& folder, const QString& filter) {
  choosers.append({caption, filter});
  chooserStarts.append(folder);
  return nextFile;
}

QString FakeServices::chooseFolder(QWidget*, const QString& caption, const QString& folder) {
  choosers.append({caption});
  chooserStarts.append(folder);
  return nextFolder;
}

bool FakeServices::print(const QString& name, const std::function<void(QPagedPaintDevice&)>&) {
  printed.append(name);
  return true;
}

void FakeServices::withProgress(QWidget*, const QString& text, const std::function<void(const Progress&)>& work) {
  longWork.append(text);
  std::atomic<bool> cancelled{cancelLongWork};
  Progress progress;
  progress.cancel = &cancelled;
  progress.report = [this](size_t done, size_t total) { lastReport = {done, total}; };
  work(progress);
}

QStringList FakeServices::texts() const {
  QStringList t;
  for (const auto& m : messages) t << m.text;
  return t;
}

bool BenchServices::print(const QString& name, const std::function<void(QPagedPaintDevice&)>& render) {
  lastPrintout = printToPdf(printouts_.path(), name, render);
  return true;
}

int FakeFlow::runModal(QDialog& dialog) {
  dialogs.append(QString::fromLatin1(dialog.metaObject()->className()));
  return onModal ? onModal(dialog) : 0;
}

TempProgramFolder::TempProgramFolder() : previous_(programFolder()) { setProgramFolder(folder_.path()); }

TempProgramFolder::~TempProgramFolder() { setProgramFolder(previous_); }

}  // namespace zel::test
