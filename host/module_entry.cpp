// The module's entry points: registration of the "Brovis" mode and its message procedure. Nothing
// thrown inside the module crosses into the simulator.
#include <memory>

#include "Orbitersdk.h"
#include "host/brovis.h"
#include "platform/keyboard/scan_codes.h"

namespace {

constexpr DWORD kSelectionKey = Keyboard::ScanCode("I");
// The simulator lists the mode under this name for as long as it is registered.
// Writable, because the simulator takes it as char*; it never writes it.
char kModeName[] = "Brovis";

int modeId = 0;

extern "C" OAPI_MSGTYPE MsgProc(UINT msg, UINT, WPARAM wparam, LPARAM lparam) {
  if (msg != OAPI_MSG_MFD_OPENED) return 0;
  try {
    // The simulator owns the display from here and destroys it through the virtual destructor.
    // wparam: the display's width in its low 16 bits, its height in the next 16.
    const auto width = static_cast<DWORD>(wparam & 0xFFFF);
    const auto height = static_cast<DWORD>((wparam >> 16) & 0xFFFF);
    MFD* display =
        std::make_unique<Brovis::Brovis>(width, height, reinterpret_cast<VESSEL*>(lparam))
            .release();
    return reinterpret_cast<OAPI_MSGTYPE>(display);
  } catch (...) {
    return 0;
  }
}

}  // namespace

DLLCLBK void InitModule(HINSTANCE) {
  try {
    MFDMODESPEC modeSpec{kModeName, kSelectionKey, MsgProc};
    modeId = oapiRegisterMFDMode(modeSpec);
  } catch (...) {
  }
}

DLLCLBK void ExitModule(HINSTANCE) {
  try {
    oapiUnregisterMFDMode(modeId);
  } catch (...) {
  }
}
