#pragma once
// One cockpit display showing a mode: the display object the mode made, hosted as the simulator
// hosts it, and the drawing surface it is redrawn into.
#include <chrono>
#include <memory>

#include "platform/orbiter/hosted_display.h"
#include "platform/win32/win32.h"

namespace Cockpit {

using Clock = std::chrono::steady_clock;

class Display {
 public:
  Display(int width, int height, std::unique_ptr<OrbiterHost::HostedDisplay> hosted);
  ~Display();
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  // Fills the surface black, as the simulator does before every Update, and has the display
  // object draw into it.
  void Redraw(Clock::time_point now);

  MFD& mfd() { return hosted_->mfd(); }
  // Whether the display object asked for a redraw since the last call.
  bool TakeInvalidated() { return hosted_->TakeInvalidated(); }
  const Win32::Surface& surface() const { return surface_; }
  int width() const { return surface_.width(); }
  int height() const { return surface_.height(); }
  Clock::time_point lastRedraw() const { return lastRedraw_; }
  // How long the display object's last Update took.
  Clock::duration lastUpdateTime() const { return lastUpdateTime_; }
  // When a redraw last changed a pixel.
  Clock::time_point lastChange() const { return lastChange_; }

 private:
  std::unique_ptr<OrbiterHost::HostedDisplay> hosted_;
  Win32::Surface surface_;
  Win32::SurfaceDC dc_;
  std::vector<Win32::Pixel> previous_;
  Clock::time_point lastRedraw_{};
  Clock::duration lastUpdateTime_{};
  Clock::time_point lastChange_{};
};

}  // namespace Cockpit
