#pragma once
// The module loaded as the host program loads it: dlopen, InitModule; ExitModule and dlclose at
// the end. Display objects come from the registered mode's message procedure.
#include <memory>
#include <string>

#include "platform/orbiter/hosted_display.h"

namespace BrovisTest {

class LoadedModule {
 public:
  explicit LoadedModule(const std::string& path);
  // Calls ExitModule and unloads, if not done yet.
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  void Exit();
  void Unload();

  // A display of w x h in the module's mode, opened as the simulator opens it; null when the
  // module made none.
  std::unique_ptr<OrbiterHost::HostedDisplay> Open(int w, int h);

 private:
  void* handle_ = nullptr;
  bool initialised_ = false;
  VESSEL vessel_;
};

}  // namespace BrovisTest
