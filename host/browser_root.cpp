#include "host/browser_root.h"

namespace Brovis {

std::unique_ptr<BrowserInterface> _browser;

BrowserInterface& EnsureBrowser() {
  if (!_browser) _browser = std::make_unique<BrowserInterface>();
  return *_browser;
}

void ReleaseBrowser() noexcept {
  try {
    _browser.reset();
  } catch (...) {
    // Shutting down: there is nobody left to tell.
  }
}

namespace {

// Runs when the module is unloaded, before the module's own static objects are destroyed, so the
// browser shuts down while everything it uses still exists. The process-wide message loop and
// window table live in the platform library, which the host keeps loaded.
[[gnu::destructor]] void ReleaseOnUnload() { ReleaseBrowser(); }

}  // namespace

}  // namespace Brovis
