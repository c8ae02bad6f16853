#include "tests/resilience/flight.h"

#include "host/browser_root.h"
#include "platform/orbiter/orbiter_host.h"
#include "platform/win32/code_page.h"

namespace BrovisTest {

namespace {
// Transparent magenta: a printed window and the title are opaque, so no redraw leaves it.
constexpr Win32::Pixel kUnwritten = 0x00FF00FF;
}  // namespace

FlownDisplay::FlownDisplay(int w, int h)
    : surface_(w, h), mode_(std::make_unique<Brovis::Brovis>(w, h, &vessel_)) {}

bool FlownDisplay::Redraw() {
  std::fill(surface_.pixels().begin(), surface_.pixels().end(), kUnwritten);
  {
    Win32::SurfaceDC dc(surface_);
    mode_->Update(dc.get());
  }
  for (Win32::Pixel p : surface_.pixels())
    if (p != kUnwritten) return everWritten_ = true;
  return false;
}

void FlownDisplay::Load(std::string address) { mode_->processURL(address.data()); }

void FlightTest::TearDown() {
  OrbiterHost::CancelInputBox();
  Brovis::ReleaseBrowser();
  Win32::SetAnsiCodePage(Win32::kDefaultAnsiCodePage);
}

}  // namespace BrovisTest
