#pragma once
// A main screen: a single-instance window that opens maximised, keeps its
// controls in a centred container and, when closed, shows the start screen
// again and hides itself.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace zel {

class MainScreen : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kContainerWidth = 995;
  static constexpr int kContainerHeight = 688;

  MainScreen(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

  // The screen that closing a main screen returns to (the start screen).
  static void setHomeScreen(QWidget* home);
  static QWidget* homeScreen();

  // Shows this screen maximised (moving on from another screen).
  void open();
  // Shows `target` and hides this screen.
  void moveTo(MainScreen* target);

  QGroupBox* container() const { return grpContainer_; }
  // The status panel along the bottom of the container (created on demand).
  QLabel* statusPanel();

 protected:
  // Moves the container this many pixels right of the centred place (the
  // product card sits 4 pixels further right than the other screens).
  void setContainerShift(int pixels);
  // Tiles the window background with a picture from the resources.
  void setBackgroundTile(const QString& resource);
  // The hidden button `btnSfondo` that carries the background tile.
  QPushButton* addTileCarrier(const QString& resource);
  // Prepares the screen at every showing (not when it merely comes back from
  // being minimised or covered).
  virtual void FormShow() {}
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Whether closing returns to the start screen (the start screen itself
  // ends the program instead).
  virtual bool returnsHomeOnClose() const { return true; }

 private:
  void placeContainer();

  QGroupBox* grpContainer_;
  QLabel* panInfo_ = nullptr;
  int shift_ = 0;
};

}  // namespace zel
