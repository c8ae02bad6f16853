#pragma once
// The module loaded as the host program loads it, entered through InitModule; ExitModule and
// unloading at the end, if the test has not done them first.
#include <memory>
#include <optional>
#include <string>

#include "cockpit/module_library.h"
#include "platform/orbiter/hosted_display.h"

namespace BrovisTest {

class LoadedModule {
 public:
  explicit LoadedModule(const std::string& path);
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  void Exit();
  void Unload();

  // A display of w x h in the module's mode, opened as the simulator opens it; null when the
  // module made none.
  std::unique_ptr<OrbiterHost::HostedDisplay> Open(int w, int h);

 private:
  std::optional<Cockpit::ModuleLibrary> library_;
  bool initialised_ = false;
  VESSEL vessel_;
};

}  // namespace BrovisTest
