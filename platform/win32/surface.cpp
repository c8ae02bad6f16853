#include "platform/win32/surface.h"

#include <algorithm>
#include <cstring>

namespace Win32 {

Rect Rect::intersect(const Rect& other) const {
  Rect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
         std::min(bottom, other.bottom)};
  if (r.empty()) return {};
  return r;
}

Surface::Surface(int width, int height, Pixel fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, fill) {}

Canvas Canvas::child(int x, int y, int w, int h) const {
  Canvas c = *this;
  c.originX = originX + x;
  c.originY = originY + y;
  c.clip = clip.intersect({c.originX, c.originY, c.originX + w, c.originY + h});
  return c;
}

void Canvas::fill(const Rect& local, Pixel colour) const {
  if (!surface) return;
  const Rect r = local.offset(originX, originY).intersect(clip);
  for (int y = r.top; y < r.bottom; ++y)
    std::fill(surface->row(y) + r.left, surface->row(y) + r.right, colour);
}

void Canvas::blit(const Surface& source, int x, int y) const {
  if (!surface) return;
  const Rect target =
      Rect{x, y, x + source.width(), y + source.height()}.offset(originX, originY).intersect(clip);
  if (target.empty()) return;
  const int sx = target.left - originX - x;
  const int sy = target.top - originY - y;
  const std::size_t bytes = static_cast<std::size_t>(target.width()) * sizeof(Pixel);
  for (int row = 0; row < target.height(); ++row)
    std::memcpy(surface->row(target.top + row) + target.left, source.row(sy + row) + sx, bytes);
}

}  // namespace Win32
