#include "ui/mainscreen.h"

#include <QCloseEvent>
#include <QPixmap>
#include <QPointer>
#include <QResizeEvent>
#include <QShowEvent>

#include "ui/kit.h"

namespace zel {
namespace {
QPointer<QWidget> home;
}

MainScreen::MainScreen(const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setObjectName(objectName);
  setWindowTitle(caption);
  setMinimumSize(1030, 742);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
  setFont(uiFont(FontFamily::Tahoma, pt(8)));
  grpContainer_ = new QGroupBox(this);
  grpContainer_->setObjectName(QStringLiteral("grpContainer"));
  grpContainer_->setFixedSize(kContainerWidth, kContainerHeight);
  grpContainer_->setFlat(true);
  grpContainer_->setStyleSheet(QStringLiteral("QGroupBox#grpContainer { border: none; background: transparent; }"));
  placeContainer();
}

void MainScreen::setHomeScreen(QWidget* h) { home = h; }
QWidget* MainScreen::homeScreen() { return home; }

void MainScreen::open() {
  showMaximized();
  raise();
  activateWindow();
}

void MainScreen::moveTo(MainScreen* target) {
  target->open();
  hide();
}

QLabel* MainScreen::statusPanel() {
  if (!panInfo_) {
    panInfo_ = new QLabel(grpContainer_);
    panInfo_->setObjectName(QStringLiteral("panInfo"));
    panInfo_->setGeometry(2, 661, 991, 25);
    panInfo_->setAutoFillBackground(true);
    panInfo_->setStyleSheet(QStringLiteral(
        "QLabel#panInfo { background: #000080; color: white; font-family: Verdana; font-size: 8pt; }"));
    panInfo_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  return panInfo_;
}

void MainScreen::setContainerShift(int pixels) {
  shift_ = pixels;
  placeContainer();
}

void MainScreen::setBackgroundTile(const QString& resource) {
  const QPixmap tile(resource);
  QPalette p = palette();
  if (!tile.isNull()) p.setBrush(QPalette::Window, QBrush(tile));
  else p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

QPushButton* MainScreen::addTileCarrier(const QString& resource) {
  auto* carrier = new QPushButton(this);
  carrier->setObjectName(QStringLiteral("btnSfondo"));
  carrier->setIcon(QIcon(resource));
  carrier->setVisible(false);
  return carrier;
}

void MainScreen::placeContainer() {
  // The outer size: the frame is part of the window the user sees.
  const QSize outer = frameGeometry().size().isValid() && isVisible() ? frameGeometry().size() : size();
  grpContainer_->move(centredContainer(outer, grpContainer_->size()) + QPoint(shift_, 0));
}

void MainScreen::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) guarded(this, [this] { FormShow(); });
}

void MainScreen::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  placeContainer();
}

void MainScreen::closeEvent(QCloseEvent* event) {
  event->accept();
  if (returnsHomeOnClose() && home && home != this) {
    home->show();
    hide();
  }
}

}  // namespace zel
