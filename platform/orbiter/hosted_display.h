#pragma once
// A display open in a mode, held as the simulator holds it: opened through the mode's message
// procedure, reaching the simulator through its record, and told before it is destroyed.
#include <memory>

#include "platform/orbiter/display_record.h"
#include "platform/orbiter/orbiter_host.h"

namespace OrbiterHost {

class HostedDisplay {
 public:
  // Sends the mode its extended opening message and, only when that makes no display, the plain
  // one; then attaches the display's record. Null when the mode made no display. `id` names the
  // cockpit display to the mode.
  static std::unique_ptr<HostedDisplay> Open(const RegisteredMode& mode, UINT id, DWORD width,
                                             DWORD height, VESSEL* vessel);
  // Sends the mode its closing message, then destroys the display through its virtual destructor.
  ~HostedDisplay();
  HostedDisplay(const HostedDisplay&) = delete;
  HostedDisplay& operator=(const HostedDisplay&) = delete;

  MFD& mfd() const { return *display_; }
  // Whether the display asked for a redraw since the last call.
  bool TakeInvalidated() { return record_.TakeInvalidated(); }

  // What Open made, for the constructor only.
  class Made {
    friend class HostedDisplay;
    explicit Made(std::unique_ptr<MFD> display) : display(std::move(display)) {}
    std::unique_ptr<MFD> display;
  };
  HostedDisplay(const RegisteredMode& mode, UINT id, Made made);

 private:
  MessageProcedure msgproc_;
  UINT id_;
  std::unique_ptr<MFD> display_;
  DisplayRecord record_;
};

}  // namespace OrbiterHost
