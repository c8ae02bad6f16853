#pragma once
// A block of 32-bit pixels in memory, the stand-in for a device-independent bitmap.
#include <cstdint>
#include <vector>

namespace Win32 {

// One pixel as 0xAARRGGBB, which is B, G, R, A in memory on this little-endian platform.
using Pixel = std::uint32_t;

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  Rect intersect(const Rect& other) const;
  Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
};

class Surface {
 public:
  Surface() = default;
  // Sizes below zero count as zero.
  Surface(int width, int height, Pixel fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  Pixel* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const Pixel* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  Pixel at(int x, int y) const { return row(y)[x]; }
  std::vector<Pixel>& pixels() { return pixels_; }
  const std::vector<Pixel>& pixels() const { return pixels_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

// Where a paint lands: a surface, the offset of the painted item's origin in it, and the part of
// the surface that may be written.
struct Canvas {
  Surface* surface = nullptr;
  int originX = 0;
  int originY = 0;
  Rect clip;
  // True when the whole window is printed for a display redraw, which may wait briefly for the
  // newest picture of a browser; false for copies between surfaces, which never wait.
  bool forPrint = false;

  // A canvas for a child item at (x, y) of this one, clipped to the child's w x h.
  Canvas child(int x, int y, int w, int h) const;
  void fill(const Rect& local, Pixel colour) const;
  // Copies `source` with its top-left corner at local (x, y), clipped.
  void blit(const Surface& source, int x, int y) const;
};

}  // namespace Win32
