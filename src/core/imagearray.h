#pragma once
// Bitmaps held in memory and the image component that turns and scales one of
// them: the credits window draws its drifting logos with it. Nothing here
// knows about windows; the window converts its pictures at the edge.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel {

// A bitmap in memory, top row first. A pixel is a palette index for 8 bits
// per pixel and 0xRRGGBB for 24 bits; other depths are only carried (so that
// the component can refuse them) and their pixels are held as read.
struct Bitmap {
  int bitsPerPixel = 24;
  int width = 0;
  int height = 0;
  std::vector<uint32_t> palette;  // 0xRRGGBB entries, 8-bit bitmaps only
  std::vector<uint32_t> pixels;   // width × height values, row by row

  Bitmap() = default;
  Bitmap(int bitsPerPixel, int width, int height, uint32_t fill = 0);

  bool empty() const { return width <= 0 || height <= 0; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  uint32_t pixel(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  void setPixel(int x, int y, uint32_t value) { pixels[static_cast<std::size_t>(y) * width + x] = value; }
  // The 0xRRGGBB colour a pixel value stands for in this bitmap.
  uint32_t colourOf(uint32_t value) const;
};

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
long long roundHalfEven(double value);

// Copies the part of `area` that lies inside both bitmaps from `source` to
// the same place in `target` (both 24 bits).
void copyArea(const Bitmap& source, Bitmap& target, const Rect& area);
// Draws `sprite` onto the 24-bit `target` with its top-left corner at
// (left, top), leaving out the pixels of colour `transparent` (0xRRGGBB) and
// whatever falls outside the target.
void drawTransparent(const Bitmap& sprite, Bitmap& target, int left, int top, uint32_t transparent);

class TImageArray {
 public:
  // Why SetBitmap refused a bitmap; shown to the user as it stands.
  static constexpr const char* kFormatMessage = "only 8 bit and 24 bit bitmaps are allowed";

  // Loads a copy of the bitmap. Only 8-bit paletted and 24-bit bitmaps are
  // taken: any other depth returns false and leaves the array empty, as
  // before any load (the caller shows kFormatMessage).
  bool SetBitmap(const Bitmap& bitmap);

  // Renders the loaded bitmap turned by `angle` radians (counter-clockwise on
  // screen) and scaled by `scale` into `target`, which takes the size of the
  // turned bounding box and the source's pixel format; `mirror` flips the
  // source left to right. Pixels that fall outside the source get the
  // transparent colour. Returns where the source point `pivot` lands in the
  // target.
  Point DrawRotated(Bitmap& target, Point pivot, bool mirror, double scale, double angle) const;

  bool empty() const { return columns_ == 0 || rows_ == 0; }
  int bitsPerPixel() const { return bitsPerPixel_; }
  int columns() const { return columns_; }
  int rows() const { return rows_; }
  // The bottom-left pixel's value, and the colour it stands for.
  uint32_t transparentValue() const { return transparent_; }
  uint32_t transparentColour() const;
  const std::vector<uint32_t>& palette() const { return palette_; }

 private:
  uint32_t at(int column, int row) const { return pixels_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)]; }

  int bitsPerPixel_ = 24;
  int columns_ = 0;
  int rows_ = 0;
  uint32_t transparent_ = 0;
  std::vector<uint32_t> palette_;
  std::vector<std::vector<uint32_t>> pixels_;  // one array of row values per column
};

}  // namespace zel
