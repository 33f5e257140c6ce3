#include "core/credits.h"

#include <algorithm>
#include <cmath>

namespace zel {
namespace {

constexpr double kTwoPi = 6.283185307179586;

double wrapAngle(double angle) {
  angle = std::fmod(angle, kTwoPi);
  return angle < 0 ? angle + kTwoPi : angle;
}

}  // namespace

int CreditsRandom::below(int n) {
  if (n <= 0) return 0;
  // Multiply-shift instead of a standard distribution, whose results differ
  // from one library to the next.
  return static_cast<int>((static_cast<uint64_t>(engine_()) * static_cast<uint64_t>(n)) >> 32);
}

double CreditsRandom::unit() { return engine_() / 4294967296.0; }

CreditsAnimation::CreditsAnimation(int backgroundWidth, int backgroundHeight, int spriteWidth, int spriteHeight,
                                   uint32_t seed)
    : backgroundWidth_(backgroundWidth), backgroundHeight_(backgroundHeight), spriteWidth_(spriteWidth),
      spriteHeight_(spriteHeight), random_(seed) {
  auto signed_ = [this](int k) { return random_.below(2) == 0 ? -k : k; };
  for (int k = 1; k <= kSprites; ++k) {
    Sprite s;
    s.x = spriteWidth_ + random_.below(backgroundWidth_ - 2 * spriteWidth_);
    s.y = spriteHeight_ + random_.below(backgroundHeight_ - 2 * spriteHeight_);
    s.size = kMinSize + random_.below(backgroundHeight_ - kMinSize);
    s.dx = signed_(k);
    s.dy = signed_(k);
    s.dsize = signed_(k);
    s.angle = random_.unit() * kTwoPi;
    s.dangle = newTurn();
    s.scale = k / 4.0;
    s.mirror = k % 2 == 1;
    sprites_.push_back(s);
  }
}

double CreditsAnimation::newTurn() { return random_.unit() * 2 * kMaxTurn - kMaxTurn; }

int CreditsAnimation::radius(const Sprite& sprite) const {
  return static_cast<int>(roundHalfEven(std::hypot(spriteWidth_, spriteHeight_) * sprite.scale / 2));
}

Rect CreditsAnimation::eraseSquare(const Sprite& sprite) const {
  const int r = radius(sprite);
  return {sprite.x - r, sprite.y - r, 2 * r + 1, 2 * r + 1};
}

void CreditsAnimation::move(int& position, int& step, int low, int high, Sprite& sprite) {
  position += step;
  if (position > high || position < low) {
    position = position > high ? high : low;
    step = -step;
    sprite.dangle = newTurn();
  }
}

void CreditsAnimation::step() {
  // A background lower than the smallest size still leaves a valid range.
  const int maxSize = std::max(backgroundHeight_, kMinSize);
  for (Sprite& s : sprites_) {
    s.scale = 100.0 / s.size;
    const int r = radius(s);
    move(s.x, s.dx, r - kEdgeSlack, backgroundWidth_ - r + kEdgeSlack, s);
    move(s.y, s.dy, r - kEdgeSlack, backgroundHeight_ - r + kEdgeSlack, s);
    // The size is held within its range like the position, so the next
    // scale never leaves the one the limits above were worked out for.
    move(s.size, s.dsize, kMinSize, maxSize, s);
    s.angle = wrapAngle(s.angle + s.dangle);
  }
}

Bitmap toTrueColour(const Bitmap& bitmap) {
  Bitmap out(24, bitmap.width, bitmap.height);
  for (size_t i = 0; i < bitmap.pixels.size() && i < out.pixels.size(); ++i)
    out.pixels[i] = bitmap.colourOf(bitmap.pixels[i]);
  return out;
}

CreditsScene::CreditsScene(const Bitmap& background, const Bitmap& sprite, uint32_t seed)
    : background_(toTrueColour(background)),
      frame_(background_),
      spriteLoaded_(sprite_.SetBitmap(sprite)),
      animation_(background_.width, background_.height, sprite_.columns(), sprite_.rows(), seed) {}

void CreditsScene::tick() {
  for (const Sprite& s : animation_.sprites()) copyArea(background_, frame_, animation_.eraseSquare(s));
  animation_.step();
  const Point centre{sprite_.columns() / 2, sprite_.rows() / 2};
  for (const Sprite& s : animation_.sprites()) {
    if (animation_.radius(s) == 0) continue;
    const Point pivot = sprite_.DrawRotated(turned_, centre, s.mirror, s.scale, s.angle);
    drawTransparent(turned_, frame_, s.x - pivot.x, s.y - pivot.y, sprite_.transparentColour());
  }
}

}  // namespace zel
