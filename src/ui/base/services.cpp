#include "ui/base/services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QPushButton>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QStandardPaths>

#include <algorithm>
#include <atomic>
#include <climits>

#include "ui/base/pdfprint.h"
#include "ui/base/programfolder.h"
#include "ui/base/waitcursor.h"

namespace zel {
namespace {

DesktopServices& desktopServices() {
  static DesktopServices instance;
  return instance;
}

Services* current = nullptr;

QMessageBox::Icon toIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

Services& services() { return current ? *current : desktopServices(); }

Services* setServices(Services* s) {
  Services* previous = current;
  current = s;
  return previous;
}

bool runLongWork(QWidget* parent, const QString& text, const std::function<void(const Progress&)>& work) {
  try {
    services().withProgress(parent, text, work);
  } catch (const Cancelled&) {
    return false;
  }
  return true;
}

void DesktopServices::message(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
  box.exec();
}

MsgAnswer DesktopServices::box(QWidget* parent, const QString& text, const QString& title,
                               MsgIcon icon, MsgButtons buttons) {
  QMessageBox box(toIcon(icon), title, text, QMessageBox::NoButton, parent);
  box.setWindowModality(Qt::ApplicationModal);
  if (buttons == MsgButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Sì"));
    box.button(QMessageBox::No)->setText(QStringLiteral("No"));
    return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MsgAnswer::Ok;
}

bool noApplicationOpens(const QUrl& url) {
  if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return true;
#ifdef Q_OS_WIN
  return false;
#else
  QString type;
  if (url.isLocalFile()) type = QMimeDatabase().mimeTypeForFile(url.toLocalFile()).name();
  else if (url.scheme() == QLatin1String("mailto")) type = QStringLiteral("x-scheme-handler/mailto");
  else return false;  // a web address: a desktop always has a way
  if (type.isEmpty()) return false;  // no type database: cannot be told
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (tool.isEmpty()) return false;
  QProcess query;
  query.start(tool, {QStringLiteral("query"), QStringLiteral("default"), type});
  if (!query.waitForFinished(3000)) {
    query.kill();
    query.waitForFinished(1000);
    return false;
  }
  if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return false;
  return query.readAllStandardOutput().trimmed().isEmpty();
#endif
}

QString keptDocumentMessage(const QString& failure, const std::filesystem::path& file) {
  return failure + QStringLiteral("\r\n\r\nIl documento è stato salvato in: ") +
         QDir::toNativeSeparators(pathToQ(file));
}

bool DesktopServices::openUrl(const QUrl& url) {
  WaitCursor wait;
  // Outside a desktop session Qt starts xdg-open and reports success at once,
  // even when no application takes the file: a document written for the
  // user would then vanish without a word.
  if (noApplicationOpens(url)) return false;
  return QDesktopServices::openUrl(url);
}

QString DesktopServices::chooseFile(QWidget* parent, const QString& caption, const QString& folder,
                                    const QString& filter) {
  QString patterns = filter;
#ifndef Q_OS_WIN
  // "*.*" is every file on Windows but only the names with a dot elsewhere.
  patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
#endif
  return QFileDialog::getOpenFileName(parent, caption, folder, patterns, nullptr,
                                      QFileDialog::HideNameFilterDetails);
}

QString DesktopServices::chooseFolder(QWidget* parent, const QString& caption, const QString& folder) {
  return QFileDialog::getExistingDirectory(parent, caption, folder);
}

bool DesktopServices::print(const QString& documentName,
                            const std::function<void(QPagedPaintDevice&)>& render) {
  try {
    const QPrinterInfo installed = QPrinterInfo::defaultPrinter();
    if (installed.isNull()) {
      // No printer installed: the same pages go into a PDF, opened for the user.
      // The pages are printed once the PDF is written, even when no viewer
      // shows it: it stays in the printout folder.
      const std::filesystem::path pdf = printToPdf(printoutFolder(), documentName, render);
      if (!services().openUrl(QUrl::fromLocalFile(pathToQ(pdf))))
        services().message(nullptr, keptDocumentMessage(unopenedPrintoutMessage(), pdf));
      return true;
    }
    QPrinter printer(installed, QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setColorMode(QPrinter::Color);
    printer.setPageOrientation(QPageLayout::Landscape);
    render(printer);
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
  } catch (const Cancelled&) {
    throw;  // the user stopped it: the caller says nothing
  } catch (...) {
    return false;
  }
}

void DesktopServices::withProgress(QWidget* parent, const QString& text,
                                   const std::function<void(const Progress&)>& work) {
  WaitCursor wait;
  std::atomic<bool> cancelled{false};
  // The work runs here, on the window thread: a modal progress window handles
  // its events (repaint, the cancel button) at every report. It shows itself
  // only when the reports so far say the work will last more than a second.
  QProgressDialog dialog(text, QStringLiteral("Annulla"), 0, 1, parent);
  dialog.setWindowTitle(QApplication::applicationName());
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(1000);
  dialog.setAutoReset(false);
  dialog.setAutoClose(false);
  QObject::connect(&dialog, &QProgressDialog::canceled, [&cancelled] { cancelled = true; });
  Progress progress;
  progress.cancel = &cancelled;
  progress.report = [&dialog](size_t done, size_t total) {
    const auto clamp = [](size_t n) { return static_cast<int>(std::min<size_t>(n, INT_MAX)); };
    dialog.setMaximum(clamp(total));
    dialog.setValue(clamp(done));
  };
  work(progress);
}

}  // namespace zel
