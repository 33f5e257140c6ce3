#pragma once
// A dialog window of the program: its own caption, a fixed size, centred on
// the desktop, with only the system menu (close box) in its title bar.
#include <QDialog>

namespace zel {

class Dialog : public QDialog {
  Q_OBJECT
 public:
  Dialog(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

  // Fixes the client area and centres the window on the desktop.
  void setClientSize(int width, int height);
  // Paints the background with a plain colour.
  void setBackground(const QColor& colour);
  // Centres the window on the screen it is shown on.
  void centreOnDesktop();

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace zel
