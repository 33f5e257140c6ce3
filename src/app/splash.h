#pragma once
// The credits window: five copies of the logo drift, bounce, grow, shrink and
// turn over the credits. A click anywhere visits the maker's site and closes
// the window.
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <memory>

#include "core/credits.h"
#include "ui/dialog.h"

namespace zel {

// Pictures cross into the image component here: 8-bit paletted pictures stay
// 8 bits, 24-bit ones 24; any other depth keeps its own (and is refused).
Bitmap toBitmap(const QImage& image);

class TfrmSplash : public Dialog {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 600;
  static constexpr int kClientHeight = 368;
  static constexpr int kTickMs = 50;

  explicit TfrmSplash(QWidget* parent = nullptr);
  ~TfrmSplash() override;

  // Starts the picture again from `background` and `sprite`; a sprite of a
  // pixel format the component refuses is reported and left out.
  void FormCreate(const QImage& background, const QImage& sprite);
  // The picture as the window shows it now.
  QImage frame() const;
  int ticks() const { return ticks_; }

 public slots:
  void Timer1Timer();

 protected:
  void paintEvent(QPaintEvent* event) override;     // FormPaint
  void mouseReleaseEvent(QMouseEvent* event) override;  // FormMouseUp
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QLabel* BackImage;    // hidden: carries the background picture
  QLabel* SpriteImage;  // hidden: carries the logo
  QTimer* Timer1;

  std::unique_ptr<CreditsScene> scene_;
  QImage shown_;  // the scene's frame as a picture, refreshed every tick
  int ticks_ = 0;
};

}  // namespace zel
