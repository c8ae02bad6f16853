#pragma once
// The module-wide root of the process's one bridge: empty when the module is loaded, filled by
// the first display (or command) that needs the browser, shared by every display of the mode, and
// released when the module is unloaded.
#include <memory>

#include "bridge/browser_interface.h"

namespace Brovis {

extern std::unique_ptr<BrowserInterface> _browser;

// The bridge, created first when the root is empty.
BrowserInterface& EnsureBrowser();
// Releases the bridge, shutting the browser down. The module's unload does this.
void ReleaseBrowser() noexcept;

}  // namespace Brovis
