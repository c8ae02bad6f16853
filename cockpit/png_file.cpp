#include "cockpit/png_file.h"

#include <png.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace Cockpit {

void WritePng(const Win32::Surface& surface, const std::filesystem::path& path) {
  if (surface.width() < 1 || surface.height() < 1) throw std::runtime_error("empty surface");
  // The surface holds B, G, R, A in memory; the display is opaque, so alpha is dropped.
  const int w = surface.width(), h = surface.height();
  std::vector<png_byte> bgr(static_cast<std::size_t>(w) * h * 3);
  png_bytep out = bgr.data();
  for (int y = 0; y < h; ++y) {
    const auto* in = reinterpret_cast<const png_byte*>(surface.row(y));
    for (int x = 0; x < w; ++x, in += 4, out += 3) std::memcpy(out, in, 3);
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_BGR;
  errno = 0;
  if (!png_image_write_to_file(&image, path.c_str(), 0, bgr.data(), 0, nullptr)) {
    const std::string why = errno ? std::strerror(errno) : image.message;
    png_image_free(&image);
    throw std::runtime_error("cannot write " + path.string() + ": " + why);
  }
}

}  // namespace Cockpit
