#include "ui/services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "output/listprint.h"
#include "ui/behaviour.h"
#include "ui/programfolder.h"

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

bool DesktopServices::openUrl(const QUrl& url) {
  WaitCursor wait;
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
      const std::filesystem::path pdf = printToPdf(printoutFolder(), documentName, render);
      return services().openUrl(QUrl::fromLocalFile(pathToQ(pdf)));
    }
    QPrinter printer(installed, QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setColorMode(QPrinter::Color);
    printer.setPageOrientation(QPageLayout::Landscape);
    render(printer);
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
  } catch (...) {
    return false;
  }
}

bool DesktopServices::openOfficeDocument(const QString& suggestedName, const QByteArray& content) {
  WaitCursor wait;
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  QDir().mkpath(folder);
  QString path = QDir(folder).filePath(suggestedName);
  // Never overwrite a document the user may have saved: number the new one.
  const QFileInfo info(path);
  for (int i = 2; QFile::exists(path); ++i)
    path = QDir(folder).filePath(info.completeBaseName() + QStringLiteral(" (%1).").arg(i) + info.suffix());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) return false;
  file.close();
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace zel
