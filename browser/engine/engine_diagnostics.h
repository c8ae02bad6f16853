#pragma once
// What tests and measurements look at inside an engine, beyond what the web-browser control
// uses: the browser's processes, the page objects held, the restarts made, and scripts run in
// the page.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/engine/engine.h"

namespace Brovis::Engine {

class EngineDiagnostics {
 public:
  virtual ~EngineDiagnostics() = default;

  // The process id of the browser, or 0; and those of its page renderers.
  virtual int browserProcessId() const = 0;
  virtual std::vector<int> rendererProcessIds() = 0;
  // How many of the page's objects this engine holds references to.
  virtual std::size_t liveRemoteObjects() const = 0;
  // How often the engine has replaced a browser that died or hung.
  virtual int restartCount() const = 0;
  // How many commands to the browser wait for their answers now.
  virtual std::size_t waitingCommands() const = 0;
  // Runs a script in the page and gives its value as JSON text, or none.
  virtual std::optional<std::string> evaluate(std::string_view script) = 0;
};

// The diagnostics of `engine`, or null when it has none (or there is no engine).
inline EngineDiagnostics* DiagnosticsOf(Engine* engine) {
  return dynamic_cast<EngineDiagnostics*>(engine);
}

}  // namespace Brovis::Engine
