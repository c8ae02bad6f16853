#pragma once
// The newest picture of each view size the displays are drawn at: a display shows only pictures
// of its own size, and keeps its own while pictures of other sizes are taken.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/engine/chromium/frames/png_picture.h"
#include "browser/engine/chromium/frames/view_size.h"

namespace Brovis::Engine {

class SizedPictures {
 public:
  // Sizes kept at once: the one looked at longest ago makes way for another.
  static constexpr std::size_t kMaxSizes = 4;

  // Keeps `base64Png`, a picture of `size`, as that size's newest; false when it is the same as
  // the one before.
  bool receive(ViewSize size, std::string base64Png);
  // The newest picture of `size`, decoded; null before the first one of that size that decodes.
  const Win32::Surface* latest(ViewSize size);

 private:
  struct Shelf {
    ViewSize size;
    NewestPicture picture;
    std::uint64_t lastUse = 0;
  };
  Shelf* find(ViewSize size);

  std::vector<Shelf> shelves_;
  std::uint64_t uses_ = 0;
};

// The size a base64 PNG says it has in its header; none when it is no PNG.
std::optional<ViewSize> PngSize(std::string_view base64);

}  // namespace Brovis::Engine
