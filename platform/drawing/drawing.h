#pragma once
// The drawing types of the window toolkit: points, sizes, bitmaps and drawing surfaces.
#include <memory>

#include "platform/win32/win32.h"

namespace Drawing {

struct Point {
  int X = 0, Y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int Width = 0, Height = 0;
  bool operator==(const Size&) const = default;
};

struct SizeF {
  float Width = 0, Height = 0;
};

class Graphics;

// An image in memory. Like the toolkit's, it cannot be made with a zero or negative size.
class Bitmap {
 public:
  // Throws std::invalid_argument for a width or height below 1.
  Bitmap(int width, int height, const Graphics& resolutionFrom);
  int Width() const { return surface_.width(); }
  int Height() const { return surface_.height(); }
  float HorizontalResolution() const { return dpiX_; }
  float VerticalResolution() const { return dpiY_; }
  Win32::Surface& surface() { return surface_; }
  const Win32::Surface& surface() const { return surface_; }

 private:
  Win32::Surface surface_;
  float dpiX_, dpiY_;
};

// A drawing surface on a bitmap or on a window's client area.
class Graphics {
 public:
  static std::unique_ptr<Graphics> FromImage(Bitmap& image);
  static std::unique_ptr<Graphics> FromHwnd(HWND hwnd);
  Graphics() = default;
  ~Graphics();

  float DpiX() const { return 96.0f; }
  float DpiY() const { return 96.0f; }
  // One device context at a time; it stays valid until ReleaseHdc or the end of the Graphics.
  HDC GetHdc();
  void ReleaseHdc(HDC hdc);

 private:
  Bitmap* image_ = nullptr;
  HWND window_ = nullptr;
  std::unique_ptr<Win32::SurfaceDC> imageDC_;
  std::unique_ptr<Win32::WindowDC> windowDC_;
};

}  // namespace Drawing
