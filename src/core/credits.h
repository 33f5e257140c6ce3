#pragma once
// The credits picture: five copies of the logo drift, bounce, grow, shrink and
// turn over a background. The rules and the composition live here; the
// credits window only runs the clock, shows the frame and takes the click.
#include <cstdint>
#include <random>
#include <vector>

#include "core/imagearray.h"

namespace zel {

struct Sprite {
  int x = 0;  // centre in the picture
  int y = 0;
  int size = 50;  // 50 to the background's height; the logo is drawn at 100 / size
  int dx = 0;     // steps per tick
  int dy = 0;
  int dsize = 0;
  double angle = 0;   // radians, 0 to 2π
  double dangle = 0;  // radians per tick
  double scale = 1;
  bool mirror = false;
};

// A seeded generator that gives the same numbers on every platform.
class CreditsRandom {
 public:
  explicit CreditsRandom(uint32_t seed) : engine_(seed) {}
  // 0 to n − 1; 0 when n is not positive.
  int below(int n);
  // 0 (included) to 1 (excluded).
  double unit();

 private:
  std::mt19937 engine_;
};

class CreditsAnimation {
 public:
  static constexpr int kSprites = 5;
  static constexpr int kMinSize = 50;
  // How far a sprite's square may reach past the edge before it bounces.
  static constexpr int kEdgeSlack = 8;
  static constexpr double kMaxTurn = 0.2;  // largest turn per tick, radians

  CreditsAnimation(int backgroundWidth, int backgroundHeight, int spriteWidth, int spriteHeight, uint32_t seed);

  // Half-side of the square that holds the sprite at its scale (0 for an
  // empty sprite, which is then not drawn).
  int radius(const Sprite& sprite) const;
  // The square to restore from the background before the sprite moves.
  Rect eraseSquare(const Sprite& sprite) const;
  // Moves, resizes and turns every sprite by one tick.
  void step();

  const std::vector<Sprite>& sprites() const { return sprites_; }
  int backgroundWidth() const { return backgroundWidth_; }
  int backgroundHeight() const { return backgroundHeight_; }

 private:
  double newTurn();
  // Moves one coordinate and bounces it between its limits.
  void move(int& position, int& step, int low, int high, Sprite& sprite);

  int backgroundWidth_, backgroundHeight_, spriteWidth_, spriteHeight_;
  CreditsRandom random_;
  std::vector<Sprite> sprites_;
};

// The off-screen frame of the credits window, composed tick by tick.
class CreditsScene {
 public:
  // `background` is taken at 24 bits; the sprite goes through TImageArray and
  // may be refused for its pixel format (nothing is drawn then).
  CreditsScene(const Bitmap& background, const Bitmap& sprite, uint32_t seed);

  bool spriteLoaded() const { return spriteLoaded_; }
  // Erases every sprite, moves them all and draws them at their new places.
  void tick();
  const Bitmap& frame() const { return frame_; }
  const CreditsAnimation& animation() const { return animation_; }

 private:
  Bitmap background_;
  Bitmap frame_;
  TImageArray sprite_;
  bool spriteLoaded_;
  Bitmap turned_;  // the sprite as last rendered; its memory serves every tick
  CreditsAnimation animation_;
};

// The same picture at 24 bits (0xRRGGBB pixels).
Bitmap toTrueColour(const Bitmap& bitmap);

}  // namespace zel
