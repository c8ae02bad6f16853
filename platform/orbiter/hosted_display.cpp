#include "platform/orbiter/hosted_display.h"

namespace OrbiterHost {

std::unique_ptr<HostedDisplay> HostedDisplay::Open(const RegisteredMode& mode, UINT id, DWORD width,
                                                   DWORD height, VESSEL* vessel) {
  if (!mode.msgproc) return nullptr;
  const WPARAM size = static_cast<WPARAM>(width & 0xFFFF) | static_cast<WPARAM>(height & 0xFFFF)
                                                                << 16;
  const OAPI_MSGTYPE made =
      mode.msgproc(OAPI_MSG_MFD_OPENED, id, size, reinterpret_cast<LPARAM>(vessel));
  if (!made) return nullptr;
  // The simulator owns the display from here.
  Made display(std::unique_ptr<MFD>(reinterpret_cast<MFD*>(made)));
  return std::make_unique<HostedDisplay>(mode, id, std::move(display));
}

HostedDisplay::HostedDisplay(const RegisteredMode& mode, UINT id, Made made)
    : msgproc_(mode.msgproc), id_(id), display_(std::move(made.display)), record_(*display_) {}

HostedDisplay::~HostedDisplay() = default;

}  // namespace OrbiterHost
