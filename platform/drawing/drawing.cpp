#include "platform/drawing/drawing.h"

#include <stdexcept>

namespace Drawing {

Bitmap::Bitmap(int width, int height, const Graphics& resolutionFrom)
    : dpiX_(resolutionFrom.DpiX()), dpiY_(resolutionFrom.DpiY()) {
  if (width < 1 || height < 1) throw std::invalid_argument("bitmap size must be positive");
  surface_ = Win32::Surface(width, height);
}

std::unique_ptr<Graphics> Graphics::FromImage(Bitmap& image) {
  auto g = std::make_unique<Graphics>();
  g->image_ = &image;
  return g;
}

std::unique_ptr<Graphics> Graphics::FromHwnd(HWND hwnd) {
  auto g = std::make_unique<Graphics>();
  g->window_ = hwnd;
  return g;
}

Graphics::~Graphics() = default;

HDC Graphics::GetHdc() {
  if (image_) {
    if (!imageDC_) imageDC_ = std::make_unique<Win32::SurfaceDC>(image_->surface());
    return imageDC_->get();
  }
  if (!windowDC_) windowDC_ = std::make_unique<Win32::WindowDC>(window_);
  return windowDC_->get();
}

void Graphics::ReleaseHdc(HDC hdc) {
  if (imageDC_ && imageDC_->get() == hdc) imageDC_.reset();
  if (windowDC_ && windowDC_->get() == hdc) windowDC_.reset();
}

}  // namespace Drawing
