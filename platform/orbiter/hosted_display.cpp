#include "platform/orbiter/hosted_display.h"

#include <string>

namespace OrbiterHost {

std::unique_ptr<HostedDisplay> HostedDisplay::Open(const RegisteredMode& mode, UINT id, DWORD width,
                                                   DWORD height, VESSEL* vessel) {
  if (!mode.msgproc) return nullptr;
  std::string name = mode.name;
  MFDMODESPECEX modeSpec{name.data(), mode.key, mode.context, mode.msgproc};
  MFDMODEOPENSPEC open{static_cast<int>(width), static_cast<int>(height), &modeSpec};
  const LPARAM ship = reinterpret_cast<LPARAM>(vessel);
  OAPI_MSGTYPE made =
      mode.msgproc(OAPI_MSG_MFD_OPENEDEX, id, reinterpret_cast<WPARAM>(&open), ship);
  if (!made) {
    const WPARAM size = static_cast<WPARAM>(width & 0xFFFF) | static_cast<WPARAM>(height & 0xFFFF)
                                                                  << 16;
    made = mode.msgproc(OAPI_MSG_MFD_OPENED, id, size, ship);
  }
  if (!made) return nullptr;
  // The simulator owns the display from here.
  Made display(std::unique_ptr<MFD>(reinterpret_cast<MFD*>(made)));
  return std::make_unique<HostedDisplay>(mode, id, std::move(display));
}

HostedDisplay::HostedDisplay(const RegisteredMode& mode, UINT id, Made made)
    : msgproc_(mode.msgproc), id_(id), display_(std::move(made.display)), record_(*display_) {}

HostedDisplay::~HostedDisplay() { msgproc_(OAPI_MSG_MFD_CLOSED, id_, 0, 0); }

}  // namespace OrbiterHost
