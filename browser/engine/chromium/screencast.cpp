#include "browser/engine/chromium/screencast.h"

#include <png.h>
#include <sodium.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

namespace Brovis::Engine {

namespace {
// Larger frames than this are refused rather than allocated.
constexpr png_uint_32 kMaxSide = 16384;
}  // namespace

std::pair<int, int> Base64PngSize(std::string_view base64) {
  // Signature, IHDR length and type, then width and height: 24 bytes, 32 base64 characters.
  constexpr std::size_t kHeaderBytes = 24;
  constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  unsigned char header[kHeaderBytes];
  std::size_t length = 0;
  if (base64.size() < kHeaderBytes / 3 * 4 ||
      sodium_base642bin(header, sizeof header, base64.data(), kHeaderBytes / 3 * 4, nullptr,
                        &length, nullptr, sodium_base64_VARIANT_ORIGINAL) != 0 ||
      length != kHeaderBytes || std::memcmp(header, kSignature, sizeof kSignature) != 0 ||
      std::memcmp(header + 12, "IHDR", 4) != 0)
    return {0, 0};
  const auto word = [&](int at) {
    const std::uint32_t value = (std::uint32_t{header[at]} << 24) | (header[at + 1] << 16) |
                                (header[at + 2] << 8) | header[at + 3];
    return static_cast<int>(std::min<std::uint32_t>(value, kMaxSide + 1));
  };
  return {word(16), word(20)};
}

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

void Screencast::receive(std::string base64Png) {
  std::tie(newestWidth_, newestHeight_) = Base64PngSize(base64Png);
  undecoded_ = std::move(base64Png);
  ++framesReceived_;
}

const Win32::Surface* Screencast::latest() {
  if (!undecoded_.empty()) {
    if (DecodeBase64Png(undecoded_, decoded_)) haveDecoded_ = true;
    undecoded_.clear();
  }
  return haveDecoded_ ? &decoded_ : nullptr;
}

}  // namespace Brovis::Engine
