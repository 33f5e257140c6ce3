#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "core/imagearray.h"

namespace zel {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A 24-bit bitmap whose every pixel is different: 0xC0 in blue, the column
// in green and the row in red.
Bitmap numbered(int width, int height) {
  Bitmap b(24, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.setPixel(x, y, 0xC0u | static_cast<uint32_t>(x) << 8 | static_cast<uint32_t>(y) << 16);
  return b;
}

TImageArray loaded(const Bitmap& b) {
  TImageArray array;
  EXPECT_TRUE(array.SetBitmap(b));
  return array;
}

TEST(ImageArray, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(roundHalfEven(0.5), 0);
  EXPECT_EQ(roundHalfEven(1.5), 2);
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(-0.5), 0);
  EXPECT_EQ(roundHalfEven(-1.5), -2);
  EXPECT_EQ(roundHalfEven(2.4999), 2);
  EXPECT_EQ(roundHalfEven(2.5001), 3);
  EXPECT_EQ(roundHalfEven(-2.6), -3);

  // The bounding box rounds the same way: 5 × 0.5 = 2.5 -> 2, 7 × 0.5 = 3.5 -> 4.
  Bitmap target;
  loaded(numbered(5, 7)).DrawRotated(target, {0, 0}, false, 0.5, 0);
  EXPECT_EQ(target.width, 2);
  EXPECT_EQ(target.height, 4);
}

TEST(ImageArray, AngleZeroAtScaleOneReproducesTheBitmapAndMirrorFlipsIt) {
  const Bitmap source = numbered(6, 4);
  const TImageArray array = loaded(source);
  Bitmap target;
  EXPECT_EQ(array.DrawRotated(target, {3, 2}, false, 1, 0), (Point{3, 2}));
  EXPECT_EQ(target.bitsPerPixel, 24);
  EXPECT_EQ(target.width, 6);
  EXPECT_EQ(target.height, 4);
  EXPECT_EQ(target.pixels, source.pixels);

  array.DrawRotated(target, {3, 2}, true, 1, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(target.pixel(x, y), source.pixel(5 - x, y)) << x << "," << y;

  // Doubling repeats every pixel twice each way.
  array.DrawRotated(target, {0, 0}, false, 2, 0);
  ASSERT_EQ(target.width, 12);
  EXPECT_EQ(target.pixel(11, 7), source.pixel(5, 3));
  EXPECT_EQ(target.pixel(4, 5), source.pixel(2, 2));
}

TEST(ImageArray, QuarterTurnSwapsTheSidesAndTurnsCounterClockwise) {
  const Bitmap source = numbered(7, 4);
  const TImageArray array = loaded(source);
  Bitmap target;
  array.DrawRotated(target, {3, 2}, false, 1, kPi / 2);
  ASSERT_EQ(target.width, 4);
  ASSERT_EQ(target.height, 7);
  // Turned left: the source's right column becomes the top row.
  for (int j = 0; j < 7; ++j)
    for (int i = 0; i < 4; ++i) EXPECT_EQ(target.pixel(i, j), source.pixel(6 - j, i)) << i << "," << j;

  // Mirrored, the left column comes up instead.
  array.DrawRotated(target, {3, 2}, true, 1, kPi / 2);
  EXPECT_EQ(target.pixel(0, 0), source.pixel(0, 0));
  EXPECT_EQ(target.pixel(3, 6), source.pixel(6, 3));
}

TEST(ImageArray, ReturnedPointIsWhereThePivotPixelLands) {
  // One marked pixel off the centre: wherever the picture is turned, scaled or
  // mirrored, the returned point must fall on that pixel (give or take one for
  // the rounding of a pixel grid).
  Bitmap source(24, 41, 23, 0x101010);
  const Point pivot{33, 5};
  for (int y = -1; y <= 1; ++y)
    for (int x = -1; x <= 1; ++x) source.setPixel(pivot.x + x, pivot.y + y, 0xFF0000);
  const TImageArray array = loaded(source);
  Bitmap target;
  for (double angle : {0.0, 0.4, kPi / 2, 2.0, kPi, 3.9, 5.5}) {
    for (double scale : {1.0, 1.7}) {
      for (bool mirror : {false, true}) {
        SCOPED_TRACE(testing::Message() << angle << " " << scale << " " << mirror);
        // A pivot at the centre returns the target's centre.
        const Point centre = array.DrawRotated(target, {20, 11}, mirror, scale, angle);
        EXPECT_EQ(centre, (Point{target.width / 2, target.height / 2}));
        const Point p = array.DrawRotated(target, pivot, mirror, scale, angle);
        bool found = false;
        for (int y = p.y - 1; y <= p.y + 1; ++y)
          for (int x = p.x - 1; x <= p.x + 1; ++x)
            found = found || (target.contains(x, y) && target.pixel(x, y) == 0xFF0000);
        EXPECT_TRUE(found) << "returned " << p.x << "," << p.y;
      }
    }
  }
}

TEST(ImageArray, OutsideTheSourceIsTheBottomLeftColour) {
  Bitmap source = numbered(9, 5);
  source.setPixel(0, 4, 0x00FF00);
  const TImageArray array = loaded(source);
  EXPECT_EQ(array.transparentColour(), 0x00FF00u);
  Bitmap target;
  array.DrawRotated(target, {4, 2}, false, 1, kPi / 4);
  // The corners of the turned box lie outside the picture.
  EXPECT_EQ(target.pixel(0, 0), 0x00FF00u);
  EXPECT_EQ(target.pixel(target.width - 1, target.height - 1), 0x00FF00u);
  EXPECT_EQ(target.pixel(target.width / 2, target.height / 2), source.pixel(4, 2));
}

TEST(ImageArray, PalettedBitmapKeepsIndexesAndPalette) {
  Bitmap source(8, 4, 3, 2);
  source.palette = {0x000000, 0xFFFFFF, 0x123456};
  source.setPixel(1, 1, 1);
  const TImageArray array = loaded(source);
  EXPECT_EQ(array.bitsPerPixel(), 8);
  EXPECT_EQ(array.transparentValue(), 2u);
  EXPECT_EQ(array.transparentColour(), 0x123456u);

  Bitmap target;
  array.DrawRotated(target, {2, 1}, false, 1, 1.0);
  EXPECT_EQ(target.bitsPerPixel, 8);
  EXPECT_EQ(target.palette, source.palette);
  EXPECT_EQ(target.pixel(0, 0), 2u);  // an index, not a colour
  EXPECT_EQ(target.colourOf(target.pixel(0, 0)), 0x123456u);
}

TEST(ImageArray, OnlyEightAndTwentyFourBitsAreLoaded) {
  for (int bits : {1, 4, 16, 32}) {
    TImageArray array;
    EXPECT_FALSE(array.SetBitmap(Bitmap(bits, 3, 3, 7))) << bits;
    EXPECT_TRUE(array.empty());
    EXPECT_EQ(array.columns(), 0);
    Bitmap target(24, 5, 5);
    array.DrawRotated(target, {0, 0}, false, 1, 0.5);
    EXPECT_TRUE(target.empty());
  }
  // A refused bitmap leaves the array empty, with nothing of the one before.
  TImageArray array = loaded(numbered(4, 2));
  EXPECT_FALSE(array.SetBitmap(Bitmap(32, 9, 9)));
  EXPECT_TRUE(array.empty());
  EXPECT_EQ(array.bitsPerPixel(), 24);
  EXPECT_TRUE(array.palette().empty());
  Bitmap target(24, 5, 5);
  array.DrawRotated(target, {0, 0}, false, 1, 0.5);
  EXPECT_TRUE(target.empty());
}

TEST(ImageArray, WildArgumentsDrawNothingInsteadOfFailing) {
  const TImageArray array = loaded(numbered(10, 10));
  Bitmap target;
  for (double scale : {std::nan(""), HUGE_VAL, 1e12, 0.0}) {
    array.DrawRotated(target, {5, 5}, false, scale, 1.0);
    EXPECT_TRUE(target.empty()) << scale;
  }
  array.DrawRotated(target, {5, 5}, false, -1, 0.2);  // a half turn, nothing read out of range
  EXPECT_FALSE(target.empty());
}

}  // namespace
}  // namespace zel
