#include "browser/engine/chromium/frames/png_picture.h"

#include <png.h>
#include <sodium.h>

#include <cstring>
#include <vector>

namespace Brovis::Engine {

namespace {
// Larger pictures than this are refused rather than allocated.
constexpr png_uint_32 kMaxSide = 16384;
}  // namespace

bool DecodeBase64Png(std::string_view base64, Win32::Surface& out) {
  std::vector<unsigned char> bytes(base64.size() / 4 * 3 + 3);
  std::size_t length = 0;
  if (sodium_base642bin(bytes.data(), bytes.size(), base64.data(), base64.size(), nullptr, &length,
                        nullptr, sodium_base64_VARIANT_ORIGINAL) != 0)
    return false;

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), length)) return false;
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    return false;
  }
  // Pixels are 0xAARRGGBB words, which is B, G, R, A in memory here.
  image.format = PNG_FORMAT_BGRA;
  Win32::Surface decoded(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, decoded.pixels().data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  out = std::move(decoded);
  return true;
}

bool NewestPicture::receive(std::string base64Png) {
  if (base64Png == newest_) return false;
  newest_ = std::move(base64Png);
  decodePending_ = true;
  return true;
}

const Win32::Surface* NewestPicture::latest() {
  if (decodePending_) {
    decodePending_ = false;
    if (DecodeBase64Png(newest_, decoded_)) haveDecoded_ = true;
  }
  return haveDecoded_ ? &decoded_ : nullptr;
}

}  // namespace Brovis::Engine
