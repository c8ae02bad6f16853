#include "cockpit/display.h"

#include <algorithm>

namespace Cockpit {

namespace {
// The simulator blanks a display before every redraw.
constexpr Win32::Pixel kBlank = 0xFF000000;
}  // namespace

Display::Display(int width, int height, MFD* mfd)
    : mfd_(mfd), surface_(width, height, kBlank), dc_(surface_), lastChange_(Clock::now()) {}

Display::~Display() = default;

void Display::Redraw(Clock::time_point now) {
  std::fill(surface_.pixels().begin(), surface_.pixels().end(), kBlank);
  const Clock::time_point start = Clock::now();
  mfd_->Update(dc_.get());
  lastUpdateTime_ = Clock::now() - start;
  lastRedraw_ = now;
  if (surface_.pixels() != previous_) {
    previous_ = surface_.pixels();
    lastChange_ = now;
  }
}

}  // namespace Cockpit
