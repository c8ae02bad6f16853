// The module's entry points: registration of the "Brovis" mode and its message procedure. Nothing
// thrown inside the module crosses into the simulator.
#include <memory>

#include "host/brovis.h"
#include "platform/orbiter/orbiter_api.h"

namespace {

constexpr DWORD kSelectionKey = 0x17;  // I
// The simulator lists the mode under this name for as long as it is registered.
constexpr char kModeName[] = "Brovis";

int modeId = 0;

extern "C" MFD_RESULT MsgProc(UINT msg, UINT, MFD_WPARAM wparam, MFD_LPARAM lparam) {
  if (msg != kMfdOpenedMessage) return 0;
  try {
    // The simulator owns the display from here and destroys it through the virtual destructor.
    MFD* display = std::make_unique<Brovis::Brovis>(LoWord(wparam), HiWord(wparam),
                                                    reinterpret_cast<VESSEL*>(lparam))
                       .release();
    return reinterpret_cast<MFD_RESULT>(display);
  } catch (...) {
    return 0;
  }
}

}  // namespace

MODULE_ENTRY void InitModule(HINSTANCE) {
  try {
    MFDMODESPEC modeSpec{kModeName, kSelectionKey, MsgProc};
    modeId = oapiRegisterMFDMode(modeSpec);
  } catch (...) {
  }
}

MODULE_ENTRY void ExitModule(HINSTANCE) {
  try {
    oapiUnregisterMFDMode(modeId);
  } catch (...) {
  }
}
