#include <gtest/gtest.h>

#include <cmath>

#include "core/credits.h"

namespace zel {
namespace {

constexpr int kBackWidth = 597;
constexpr int kBackHeight = 362;
constexpr int kSpriteWidth = 108;
constexpr int kSpriteHeight = 60;
constexpr double kTwoPi = 6.283185307179586;

TEST(CreditsAnimation, FiveSpritesStartInsideWithTheirOwnSteps) {
  const CreditsAnimation a(kBackWidth, kBackHeight, kSpriteWidth, kSpriteHeight, 1234);
  ASSERT_EQ(a.sprites().size(), 5u);
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    const Sprite& s = a.sprites()[k - 1];
    EXPECT_GE(s.x, kSpriteWidth);
    EXPECT_LT(s.x, kBackWidth - kSpriteWidth);
    EXPECT_GE(s.y, kSpriteHeight);
    EXPECT_LT(s.y, kBackHeight - kSpriteHeight);
    EXPECT_GE(s.size, 50);
    EXPECT_LT(s.size, kBackHeight);
    EXPECT_EQ(std::abs(s.dx), k);
    EXPECT_EQ(std::abs(s.dy), k);
    EXPECT_EQ(std::abs(s.dsize), k);
    EXPECT_LE(std::fabs(s.dangle), 0.2);
    EXPECT_DOUBLE_EQ(s.scale, k / 4.0);
    EXPECT_EQ(s.mirror, k % 2 == 1);
  }
  // The seed decides the start.
  const CreditsAnimation same(kBackWidth, kBackHeight, kSpriteWidth, kSpriteHeight, 1234);
  EXPECT_EQ(same.sprites()[2].angle, a.sprites()[2].angle);
}

TEST(CreditsAnimation, SpritesStayWithinTheirLimitsAndKeepBouncing) {
  CreditsAnimation a(kBackWidth, kBackHeight, kSpriteWidth, kSpriteHeight, 20240611);
  int bounces[5] = {};
  for (int tick = 0; tick < 20000; ++tick) {
    std::vector<Sprite> before = a.sprites();
    a.step();
    for (int i = 0; i < 5; ++i) {
      const Sprite& s = a.sprites()[i];
      const int r = a.radius(s);
      ASSERT_DOUBLE_EQ(s.scale, 100.0 / before[i].size);
      ASSERT_GE(s.x, r - 8) << "tick " << tick << " sprite " << i;
      ASSERT_LE(s.x, kBackWidth - r + 8) << "tick " << tick << " sprite " << i;
      ASSERT_GE(s.y, r - 8) << "tick " << tick << " sprite " << i;
      ASSERT_LE(s.y, kBackHeight - r + 8) << "tick " << tick << " sprite " << i;
      ASSERT_GE(s.size, 50);
      ASSERT_LE(s.size, kBackHeight);
      ASSERT_GE(s.angle, 0);
      ASSERT_LT(s.angle, kTwoPi);
      ASSERT_LE(std::fabs(s.dangle), 0.2);
      ASSERT_EQ(std::abs(s.dx), i + 1);  // a bounce turns a step round, never changes its size
      if (s.dx != before[i].dx) {
        ++bounces[i];
        EXPECT_NE(s.dangle, before[i].dangle);  // and picks a new turn
      }
    }
  }
  for (int i = 0; i < 5; ++i) EXPECT_GT(bounces[i], 2) << "sprite " << i;
}

// A sprite that fills its whole bitmap (only the bottom-left pixel is
// transparent), so every pixel of its turned box can show.
Bitmap fullSprite() {
  Bitmap b(24, kSpriteWidth, kSpriteHeight, 0xE0A020);
  b.setPixel(0, kSpriteHeight - 1, 0xFF00FF);
  for (int x = 0; x < kSpriteWidth; ++x) b.setPixel(x, 0, 0x2040C0);
  return b;
}

Bitmap background() {
  Bitmap b(24, kBackWidth, kBackHeight);
  for (int y = 0; y < kBackHeight; ++y)
    for (int x = 0; x < kBackWidth; ++x) b.setPixel(x, y, static_cast<uint32_t>((x * 7 + y * 3) & 0x7F));
  return b;
}

TEST(CreditsScene, NothingIsLeftBehindOutsideTheNextEraseSquares) {
  const Bitmap back = background();
  CreditsScene scene(back, fullSprite(), 555);
  ASSERT_TRUE(scene.spriteLoaded());
  int drawn = 0;
  for (int tick = 0; tick < 200; ++tick) {
    scene.tick();
    const Bitmap& frame = scene.frame();
    ASSERT_EQ(frame.width, kBackWidth);
    ASSERT_EQ(frame.height, kBackHeight);
    for (int y = 0; y < kBackHeight; ++y) {
      for (int x = 0; x < kBackWidth; ++x) {
        if (frame.pixel(x, y) == back.pixel(x, y)) continue;
        ++drawn;
        bool covered = false;
        for (const Sprite& s : scene.animation().sprites()) {
          const Rect r = scene.animation().eraseSquare(s);
          covered = covered || (x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height);
        }
        ASSERT_TRUE(covered) << "tick " << tick << " pixel " << x << "," << y;
      }
    }
  }
  EXPECT_GT(drawn, 0);
}

TEST(CreditsScene, RefusedSpriteLeavesTheBackgroundAlone) {
  const Bitmap back = background();
  CreditsScene scene(back, Bitmap(32, kSpriteWidth, kSpriteHeight, 0xFFFFFF), 1);
  EXPECT_FALSE(scene.spriteLoaded());
  for (int tick = 0; tick < 10; ++tick) scene.tick();
  EXPECT_EQ(scene.frame().pixels, back.pixels);
}

}  // namespace
}  // namespace zel
