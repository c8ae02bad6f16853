#include "browser/engine/chromium/frames/sized_pictures.h"

#include <sodium.h>

#include <algorithm>
#include <array>

namespace Brovis::Engine {

namespace {

// Larger pictures than this are refused rather than kept.
constexpr int kMaxSide = 16384;

std::uint32_t BigEndian(const unsigned char* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

}  // namespace

std::optional<ViewSize> PngSize(std::string_view base64) {
  // The signature, the header chunk's length and type, then its width and height: 24 bytes,
  // the first 32 characters of the text.
  constexpr std::size_t kChars = 32;
  if (base64.size() < kChars) return std::nullopt;
  std::array<unsigned char, 24> head{};
  std::size_t length = 0;
  if (sodium_base642bin(head.data(), head.size(), base64.data(), kChars, nullptr, &length, nullptr,
                        sodium_base64_VARIANT_ORIGINAL) != 0 ||
      length != head.size())
    return std::nullopt;
  constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!std::equal(std::begin(kSignature), std::end(kSignature), head.begin()) ||
      std::string_view(reinterpret_cast<const char*>(&head[12]), 4) != "IHDR")
    return std::nullopt;
  const std::uint32_t width = BigEndian(&head[16]);
  const std::uint32_t height = BigEndian(&head[20]);
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return std::nullopt;
  return ViewSize{static_cast<int>(width), static_cast<int>(height)};
}

SizedPictures::Shelf* SizedPictures::find(ViewSize size) {
  const auto it = std::ranges::find(shelves_, size, &Shelf::size);
  if (it == shelves_.end()) return nullptr;
  it->lastUse = ++uses_;
  return &*it;
}

bool SizedPictures::receive(ViewSize size, std::string base64Png) {
  Shelf* shelf = find(size);
  if (!shelf) {
    if (shelves_.size() >= kMaxSizes)
      shelves_.erase(std::ranges::min_element(shelves_, {}, &Shelf::lastUse));
    shelf = &shelves_.emplace_back(Shelf{size, {}, ++uses_});
  }
  return shelf->picture.receive(std::move(base64Png));
}

const Win32::Surface* SizedPictures::latest(ViewSize size) {
  Shelf* shelf = find(size);
  const Win32::Surface* picture = shelf ? shelf->picture.latest() : nullptr;
  // The header was read before the picture was decoded; what decodes has the last word.
  if (picture && (picture->width() != size.width || picture->height() != size.height))
    return nullptr;
  return picture;
}

}  // namespace Brovis::Engine
