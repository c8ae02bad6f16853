#include "host/browser_root.h"

#include <cstdlib>

namespace Brovis {

std::unique_ptr<BrowserInterface> _browser;

namespace {

void ReleaseAtExit() { ReleaseBrowser(); }

}  // namespace

BrowserInterface& EnsureBrowser() {
  if (!_browser) {
    _browser = std::make_unique<BrowserInterface>();
    // The bridge must go while what it uses still exists: the platform's window table and
    // message loop, which were first used while it was built. Functions registered with atexit
    // run before the statics constructed earlier are destroyed, both when the process calls
    // exit() without unloading the module and, registered from the module, when it is unloaded.
    static const bool registered = std::atexit(ReleaseAtExit) == 0;
    (void)registered;
  }
  return *_browser;
}

void ReleaseBrowser() noexcept {
  try {
    _browser.reset();
  } catch (...) {
    // Shutting down: there is nobody left to tell.
  }
}

}  // namespace Brovis
