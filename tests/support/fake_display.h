#pragma once
// A mode of the tests' own, "Fake", whose displays fill themselves with one colour and record
// what the simulator and the pilot give them: the messages, the presses, the keys, the typed
// text. Button 5 opens its address box and key 200 asks for a redraw, as the module's do.
#include <string>
#include <vector>

#include "platform/orbiter/orbiter_host.h"
#include "platform/win32/surface.h"

namespace BrovisTest {

constexpr Win32::Pixel kFakeFace = 0xFF204080;

struct FakeRecord {
  int alive = 0;                             // display objects that exist
  int updates = 0;                           // of all of them
  std::vector<std::string> seen;             // messages ("4 mfd 3 250x200 ...") and "destroyed"
  std::vector<std::pair<int, int>> buttons;  // (the display's width, the button)
  std::vector<int> events;                   // of those buttons
  std::vector<DWORD> keys;
  std::vector<std::string> typed;  // confirmed in the address box
  // What the tests ask of the displays:
  bool refuse = false;        // the address box refuses the text
  bool changing = false;      // a different picture on every redraw
  bool titleOnly = false;     // the mode's title, and no fill
  bool invalidating = false;  // asks for another redraw in every Update
  bool earlyRequest = false;  // asks for a redraw from its constructor
  bool openExtended = false;  // made on the extended opening message already
};
// Reset by every FakeMode.
extern FakeRecord fake;

// Registers the mode, with a context of its own, for as long as it lives.
class FakeMode {
 public:
  FakeMode();
  ~FakeMode();
  FakeMode(const FakeMode&) = delete;
  FakeMode& operator=(const FakeMode&) = delete;

  const OrbiterHost::RegisteredMode& mode() const { return mode_; }
  static constexpr DWORD kKey = 23;

 private:
  int id_;
  OrbiterHost::RegisteredMode mode_;
};

}  // namespace BrovisTest
