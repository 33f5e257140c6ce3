#include "app/splash.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRandomGenerator>
#include <QUrl>

#include "core/maker.h"
#include "ui/base/services.h"
#include "ui/behaviour.h"

namespace zel {
namespace {

QImage toImage(const Bitmap& bitmap) {
  QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
  for (int y = 0; y < bitmap.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < bitmap.width; ++x) line[x] = 0xFF000000u | bitmap.colourOf(bitmap.pixel(x, y));
  }
  return image;
}

}  // namespace

Bitmap toBitmap(const QImage& image) {
  const int bits = image.format() == QImage::Format_Indexed8 ? 8
                   : image.format() == QImage::Format_RGB888 || image.format() == QImage::Format_BGR888 ? 24
                                                                                                           : image.depth();
  Bitmap b(bits, image.width(), image.height());
  if (bits == 8)
    for (QRgb entry : image.colorTable()) b.palette.push_back(entry & 0xFFFFFF);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      b.setPixel(x, y, bits == 8 ? static_cast<uint32_t>(image.pixelIndex(x, y)) : image.pixel(x, y) & 0xFFFFFF);
  return b;
}

TfrmSplash::TfrmSplash(QWidget* parent)
    : Dialog(QStringLiteral("frmSplash"),
             QStringLiteral(" Zelvano © 2026 - %1")
                 .arg(QString::fromUtf8(maker::kName)),
             parent) {
  setBackground(Qt::black);
  setClientSize(kClientWidth, kClientHeight);
  setCursor(Qt::PointingHandCursor);
  setToolTip(QStringLiteral("  Visita il sito Internet dell'autore "));
  // The window paints every pixel itself.
  setAttribute(Qt::WA_OpaquePaintEvent);

  BackImage = new QLabel(this);
  BackImage->setObjectName(QStringLiteral("BackImage"));
  BackImage->setPixmap(QPixmap(QStringLiteral(":/art/splash_sfondo.jpg")));
  BackImage->hide();
  SpriteImage = new QLabel(this);
  SpriteImage->setObjectName(QStringLiteral("SpriteImage"));
  SpriteImage->setPixmap(QPixmap(QStringLiteral(":/art/splash_logo.png")));
  SpriteImage->hide();

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kTickMs);
  connect(Timer1, &QTimer::timeout, this, &TfrmSplash::Timer1Timer);

  // The logo is a 24-bit bitmap; the background is taken at 24 bits anyway.
  FormCreate(BackImage->pixmap().toImage(), SpriteImage->pixmap().toImage().convertToFormat(QImage::Format_RGB888));
}

TfrmSplash::~TfrmSplash() = default;

void TfrmSplash::FormCreate(const QImage& background, const QImage& sprite) {
  scene_ = std::make_unique<CreditsScene>(toBitmap(background), toBitmap(sprite),
                                          QRandomGenerator::global()->generate());
  if (!scene_->spriteLoaded()) services().message(this, QString::fromLatin1(TImageArray::kFormatMessage));
  shown_ = toImage(scene_->frame());
  update();
}

QImage TfrmSplash::frame() const { return shown_; }

void TfrmSplash::Timer1Timer() {
  guarded(this, [this] {
    scene_->tick();
    shown_ = toImage(scene_->frame());
    ++ticks_;
    update();
  });
}

void TfrmSplash::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  // The picture is copied to the top-left corner; the black shows only on
  // the right and at the bottom, where the client area is larger.
  painter.drawImage(0, 0, shown_);
}

void TfrmSplash::mouseReleaseEvent(QMouseEvent* event) {
  guarded(this, [] {
    WaitCursor wait;
    services().openUrl(QUrl(QString::fromUtf8(maker::kSite)));
  });
  close();
  event->accept();
}

void TfrmSplash::showEvent(QShowEvent* event) {
  Dialog::showEvent(event);
  Timer1->start();
}

void TfrmSplash::hideEvent(QHideEvent* event) {
  // Closing hides the window too, so the clock never runs unseen.
  Timer1->stop();
  Dialog::hideEvent(event);
}

}  // namespace zel
