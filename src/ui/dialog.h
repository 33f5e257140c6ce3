#pragma once
// A dialog window of the program: its own caption, a fixed size, centred on
// the desktop, with only the system menu (close box) in its title bar, or
// the close and minimise boxes where a family of windows has both.
#include <QDialog>

namespace zel {

class Dialog : public QDialog {
  Q_OBJECT
 public:
  Dialog(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

  // Adds the minimise box to the title bar, beside the close box (the
  // searches, the list windows and the archive exports have it).
  void addMinimiseBox();
  // Fixes the client area and centres the window on the desktop.
  void setClientSize(int width, int height);
  // Paints the background with a plain colour.
  void setBackground(const QColor& colour);
  // Centres the window on the screen it is shown on.
  void centreOnDesktop();
  // Whether Escape closes the window (it does unless a window says otherwise).
  void setEscapeCloses(bool closes) { escapeCloses_ = closes; }

 protected:
  void showEvent(QShowEvent* event) override;
  // Enter presses the button that has the focus, and only that one: a
  // dialog of the program has no default button that Enter would press from
  // an edit box.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool escapeCloses_ = true;
};

}  // namespace zel
