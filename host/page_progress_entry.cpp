// An entry point beyond the simulator's: how far the browser is with the page, for a host that
// plays the pilot from a script. The simulator never calls it.
#include "bridge/browser_interface.h"
#include "host/browser_root.h"

extern "C" __attribute__((visibility("default"))) int BrovisPageProgress() noexcept {
  try {
    // Asking makes no browser: without a display there is none to ask.
    if (!Brovis::_browser) return static_cast<int>(Brovis::PageProgress::NoPage);
    return static_cast<int>(Brovis::_browser->Progress());
  } catch (...) {
    return static_cast<int>(Brovis::PageProgress::NoPage);
  }
}
