#include "cockpit/display.h"

#include <algorithm>

namespace Cockpit {

namespace {
constexpr Win32::Pixel kBlack = 0xFF000000;
}  // namespace

Display::Display(int width, int height, std::unique_ptr<OrbiterHost::HostedDisplay> hosted)
    : hosted_(std::move(hosted)),
      surface_(width, height, kBlack),
      dc_(surface_),
      lastChange_(Clock::now()) {}

Display::~Display() = default;

void Display::Redraw(Clock::time_point now) {
  std::fill(surface_.pixels().begin(), surface_.pixels().end(), kBlack);
  const Clock::time_point start = Clock::now();
  mfd().Update(dc_.get());
  lastUpdateTime_ = Clock::now() - start;
  lastRedraw_ = now;
  if (surface_.pixels() != previous_) {
    previous_ = surface_.pixels();
    lastChange_ = now;
  }
}

}  // namespace Cockpit
