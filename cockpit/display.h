#pragma once
// One cockpit display showing the module's mode: the display object the module made, owned by
// the host as the simulator owns it, and the drawing surface it is redrawn into.
#include <chrono>
#include <memory>

#include "platform/orbiter/orbiter_api.h"
#include "platform/win32/win32.h"

namespace Cockpit {

using Clock = std::chrono::steady_clock;

class Display {
 public:
  // Takes ownership of `mfd`, which is deleted through its virtual destructor.
  Display(int width, int height, MFD* mfd);
  ~Display();
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  // Blanks the surface and has the display object draw into it.
  void Redraw(Clock::time_point now);

  MFD& mfd() { return *mfd_; }
  const Win32::Surface& surface() const { return surface_; }
  int width() const { return surface_.width(); }
  int height() const { return surface_.height(); }
  Clock::time_point lastRedraw() const { return lastRedraw_; }
  // How long the display object's last Update took.
  Clock::duration lastUpdateTime() const { return lastUpdateTime_; }
  // When a redraw last changed a pixel.
  Clock::time_point lastChange() const { return lastChange_; }

 private:
  std::unique_ptr<MFD> mfd_;
  Win32::Surface surface_;
  Win32::SurfaceDC dc_;
  std::vector<Win32::Pixel> previous_;
  Clock::time_point lastRedraw_{};
  Clock::duration lastUpdateTime_{};
  Clock::time_point lastChange_{};
};

}  // namespace Cockpit
