#include "tests/support/pixels.h"

#include <png.h>

#include <cstdlib>
#include <cstring>

namespace BrovisTest {

int CountPixels(const Win32::Surface& surface, Win32::Pixel colour) {
  int n = 0;
  for (Win32::Pixel p : surface.pixels()) n += p == colour;
  return n;
}

bool Near(Win32::Pixel pixel, Win32::Pixel colour, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int a = (pixel >> shift) & 0xFF, b = (colour >> shift) & 0xFF;
    if (std::abs(a - b) > tolerance) return false;
  }
  return true;
}

bool WritePng(const Win32::Surface& surface, const std::string& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = surface.width();
  image.height = surface.height();
  image.format = PNG_FORMAT_BGRA;
  return png_image_write_to_file(&image, path.c_str(), 0, surface.pixels().data(), 0, nullptr);
}

Win32::Surface ReadPng(const std::string& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_BGRA;
  Win32::Surface surface(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, surface.pixels().data(), 0, nullptr)) return {};
  return surface;
}

}  // namespace BrovisTest
