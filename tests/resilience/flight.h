#pragma once
// Displays of the mode flown in-process, as the simulator flies them: created, redrawn into
// their own surface, handed buttons, keys and the pilot's input box text, and destroyed.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/brovis.h"
#include "platform/orbiter/display_record.h"
#include "platform/orbiter/orbiter_host.h"
#include "platform/win32/surface.h"

namespace BrovisTest {

class FlownDisplay {
 public:
  FlownDisplay(int w, int h);

  Brovis::Brovis& mode() { return *mode_; }
  const Win32::Surface& surface() const { return surface_; }
  // Redraws over a fill the display never draws; true when the redraw wrote the surface.
  bool Redraw();
  // A redraw has written the surface before.
  bool EverWritten() const { return everWritten_; }
  // Loads `address` as the address box's callback does.
  void Load(std::string address);

 private:
  VESSEL vessel_;
  Win32::Surface surface_;
  std::unique_ptr<Brovis::Brovis> mode_;
  bool everWritten_ = false;
  OrbiterHost::DisplayRecord record_{*mode_};
};

// Releases the process's browser and whatever input box is left, so that each test starts anew.
class FlightTest : public ::testing::Test {
 protected:
  void TearDown() override;
};

}  // namespace BrovisTest
