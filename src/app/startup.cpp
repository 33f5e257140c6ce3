#include "app/startup.h"

#include <QLibraryInfo>

#include <clocale>
#include <exception>

#include "app/forms.h"
#include "app/password.h"
#include "ui/base/programfolder.h"
#include "ui/base/services.h"
#include "ui/behaviour.h"

namespace zel {

ZelvanoApplication::ZelvanoApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // Qt's start-up hands the user's locale to the C library. Its numbers reach
  // only files: the workbook library writes column widths and margins with
  // printf, and an Italian "0,7" there makes the workbook invalid. What the
  // user reads takes its numbers from QLocale (applyNumberConventions), which
  // this does not touch.
  std::setlocale(LC_NUMERIC, "C");
  // The whole interface is Italian, so Qt's own texts are too, on any desktop
  // (Debian's qt6-translations-l10n; without it they stay English).
  if (qtTexts_.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    installTranslator(&qtTexts_);
}

void preferX11() {
  // On Wayland a window cannot place itself, and the windows are centred on
  // the desktop. With no X server (no XWayland) Qt goes on to Wayland.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

bool ZelvanoApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    services().message(nullptr, QString::fromLocal8Bit(e.what()));
  } catch (...) {
    services().message(nullptr, QStringLiteral("Attenzione: errore imprevisto."));
  }
  return false;
}

void startUp() {
  createForms();
  forms().frmPassword->show();
}

void prepareProgram() {
  // The name only: with a display name set, the toolkit appends " — Zelvano"
  // to every caption and message-box title on X11.
  QApplication::setApplicationName(QStringLiteral("Zelvano"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/zelvano.png")));
  setProgramFolder(qToPath(QApplication::applicationDirPath()));
  applyNumberConventions();
}

int runZelvano(int argc, char** argv) {
  preferX11();
  ZelvanoApplication app(argc, argv);
  prepareProgram();
  ProgramFlow programFlow;
  setFlow(&programFlow);
  startUp();
  const int rc = QApplication::exec();
  destroyForms();
  setFlow(nullptr);
  return rc;
}

}  // namespace zel
