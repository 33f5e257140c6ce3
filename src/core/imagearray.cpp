#include "core/imagearray.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zel {
namespace {

// A turned picture wider or taller than this is not drawn at all: no caller
// wants one, and a wild scale must not run the program out of memory.
constexpr double kMaxSide = 16384;

// The source row or column a doubled target offset maps back to:
// (extent + rnd(offset / scale) − 1) div 2, div truncating toward zero.
int sourceIndex(int extent, double offset, double scale) {
  return static_cast<int>((extent + roundHalfEven(offset / scale) - 1) / 2);
}

}  // namespace

Bitmap::Bitmap(int bpp, int w, int h, uint32_t fill)
    : bitsPerPixel(bpp), width(std::max(w, 0)), height(std::max(h, 0)),
      pixels(static_cast<size_t>(width) * height, fill) {}

uint32_t Bitmap::colourOf(uint32_t value) const {
  if (bitsPerPixel == 8) return value < palette.size() ? palette[value] : 0;
  return value & 0xFFFFFF;
}

long long roundHalfEven(double value) {
  const double down = std::floor(value);
  const double rest = value - down;
  if (rest < 0.5) return static_cast<long long>(down);
  if (rest > 0.5) return static_cast<long long>(down) + 1;
  return std::fmod(down, 2.0) == 0 ? static_cast<long long>(down) : static_cast<long long>(down) + 1;
}

void copyArea(const Bitmap& source, Bitmap& target, const Rect& area) {
  const int left = std::max(area.left, 0);
  const int top = std::max(area.top, 0);
  const int right = std::min({area.left + area.width, source.width, target.width});
  const int bottom = std::min({area.top + area.height, source.height, target.height});
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) target.setPixel(x, y, source.pixel(x, y));
}

void drawTransparent(const Bitmap& sprite, Bitmap& target, int left, int top, uint32_t transparent) {
  for (int y = std::max(0, -top); y < sprite.height && top + y < target.height; ++y) {
    for (int x = std::max(0, -left); x < sprite.width && left + x < target.width; ++x) {
      const uint32_t colour = sprite.colourOf(sprite.pixel(x, y));
      if (colour != transparent) target.setPixel(left + x, top + y, colour);
    }
  }
}

bool TImageArray::SetBitmap(const Bitmap& bitmap) {
  if (bitmap.bitsPerPixel != 8 && bitmap.bitsPerPixel != 24) {
    *this = TImageArray();  // empty, as before any load: nothing of an earlier bitmap stays
    return false;
  }
  bitsPerPixel_ = bitmap.bitsPerPixel;
  columns_ = bitmap.width;
  rows_ = bitmap.height;
  transparent_ = bitmap.empty() ? 0 : bitmap.pixel(0, bitmap.height - 1);
  palette_ = bitmap.bitsPerPixel == 8 ? bitmap.palette : std::vector<uint32_t>{};
  pixels_.assign(static_cast<size_t>(columns_), std::vector<uint32_t>(static_cast<size_t>(rows_)));
  for (int column = 0; column < columns_; ++column)
    for (int row = 0; row < rows_; ++row) pixels_[column][row] = bitmap.pixel(column, row);
  return true;
}

uint32_t TImageArray::transparentColour() const {
  if (bitsPerPixel_ == 8) return transparent_ < palette_.size() ? palette_[transparent_] : 0;
  return transparent_;
}

Point TImageArray::DrawRotated(Bitmap& target, Point pivot, bool mirror, double scale, double angle) const {
  // The target's memory is reused from one call to the next.
  target.bitsPerPixel = bitsPerPixel_;
  target.palette = palette_;
  target.width = target.height = 0;
  target.pixels.clear();
  if (!std::isfinite(scale) || !std::isfinite(angle) || std::fabs(scale) * (columns_ + rows_) > kMaxSide)
    return {};

  const double cosA = std::cos(angle);
  const double sinA = std::sin(angle);
  const int width = static_cast<int>(std::llabs(roundHalfEven(scale * rows_ * sinA)) +
                                     std::llabs(roundHalfEven(scale * columns_ * cosA)));
  const int height = static_cast<int>(std::llabs(roundHalfEven(scale * columns_ * sinA)) +
                                      std::llabs(roundHalfEven(scale * rows_ * cosA)));
  target.width = width;
  target.height = height;
  target.pixels.assign(static_cast<size_t>(width) * height, transparent_);

  for (int j = 0; j < height; ++j) {
    for (int i = 0; i < width; ++i) {
      int column, row;
      if (angle != 0) {
        // Each target pixel is mapped back to the source (nearest pixel), so
        // the turned picture has no holes.
        const double a = 2.0 * i - (width - 1);
        const double b = 2.0 * j - height + 1;
        column = sourceIndex(columns_, cosA * a - sinA * b, scale);
        row = sourceIndex(rows_, sinA * a + cosA * b, scale);
      } else {
        column = static_cast<int>(i / scale);
        row = static_cast<int>(j / scale);
      }
      if (mirror) column = columns_ - 1 - column;
      if (column >= 0 && column < columns_ && row >= 0 && row < rows_) target.setPixel(i, j, at(column, row));
    }
  }

  // The pivot's offset from the source's centre, measured rightward and
  // upward, turned and scaled; a mirrored picture carries its pivot across.
  double dx = pivot.x - columns_ / 2;
  const double dy = rows_ / 2 - pivot.y;
  if (mirror) dx = -dx;
  return {width / 2 + static_cast<int>(roundHalfEven(scale * (cosA * dx - sinA * dy))),
          height / 2 - static_cast<int>(roundHalfEven(scale * (sinA * dx + cosA * dy)))};
}

}  // namespace zel
