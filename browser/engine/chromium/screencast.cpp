#include "browser/engine/chromium/screencast.h"

#include <png.h>
#include <sodium.h>

#include <cstring>
#include <vector>

namespace Brovis::Engine {

namespace {
// Larger frames than this are refused rather than allocated.
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

void Screencast::receive(std::string base64Png, int width, int height) {
  undecoded_ = std::move(base64Png);
  newestWidth_ = width;
  newestHeight_ = height;
  ++framesReceived_;
}

const Win32::Surface* Screencast::latest() {
  if (!undecoded_.empty()) {
    if (DecodeBase64Png(undecoded_, decoded_)) haveDecoded_ = true;
    undecoded_.clear();
  }
  return haveDecoded_ ? &decoded_ : nullptr;
}

void Screencast::clear() {
  undecoded_.clear();
  decoded_ = Win32::Surface();
  haveDecoded_ = false;
  newestWidth_ = newestHeight_ = 0;
}

}  // namespace Brovis::Engine
