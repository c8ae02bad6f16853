#pragma once
// The size of the page's view in pixels, which a picture of it has too. Zero stands for a size
// not known.
#include <compare>

namespace Brovis::Engine {

struct ViewSize {
  int width = 0;
  int height = 0;

  bool known() const { return width > 0 && height > 0; }
  friend auto operator<=>(const ViewSize&, const ViewSize&) = default;
};

}  // namespace Brovis::Engine
