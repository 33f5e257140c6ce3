#pragma once
#include <QApplication>
#include <QTranslator>

namespace zel {

// The application object: an error that would escape an event handler is
// shown as a message with its text instead of ending the program. The files
// the program writes never depend on the user's locale: the C library's
// numbers stay those of the "C" locale for the whole process. Qt's own texts
// (file dialogs, the menu of an edit box, standard buttons) are Italian.
class ZelvanoApplication : public QApplication {
 public:
  ZelvanoApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  QTranslator qtTexts_;  // Qt's own texts in Italian, whatever the user's language
};

// The windowing platform, chosen before the application object exists: X11
// (through XWayland on a Wayland desktop), where the program can place and
// centre its windows, unless the user chose one (QT_QPA_PLATFORM).
void preferX11();

// What the program settles before any window exists: its name and icon,
// the program folder (the executable's) and the number conventions.
void prepareProgram();

// Creates every window in start-up order and shows the first (the login).
void startUp();

// Start-up: title, program folder, services, every window in its order, the
// first one shown; then the message loop.
int runZelvano(int argc, char** argv);

}  // namespace zel
