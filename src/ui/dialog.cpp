#include "ui/dialog.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "ui/kit.h"

namespace zel {

Dialog::Dialog(const QString& objectName, const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(objectName);
  setWindowTitle(caption);
}

void Dialog::addMinimiseBox() { setWindowFlag(Qt::WindowMinimizeButtonHint); }

void Dialog::setClientSize(int width, int height) { setFixedSize(width, height); }

void Dialog::setBackground(const QColor& colour) {
  QPalette p = palette();
  p.setColor(QPalette::Window, colour);
  setPalette(p);
  setAutoFillBackground(true);
}

void Dialog::centreOnDesktop() {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  move(area.center() - QPoint(width() / 2, height() / 2));
}

void Dialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !escapeCloses_) return;
  if (isEnterKey(event)) {
    if (auto* b = qobject_cast<QAbstractButton*>(focusWidget()); b && b->isEnabled()) b->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void Dialog::showEvent(QShowEvent* event) {
  centreOnDesktop();
  QDialog::showEvent(event);
}

}  // namespace zel
