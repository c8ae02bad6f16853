#include "tests/host/loaded_module.h"

#include <dlfcn.h>

#include <stdexcept>

namespace BrovisTest {

namespace {
using Entry = void (*)(HINSTANCE);
}

LoadedModule::LoadedModule(const std::string& path)
    : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (!handle_) throw std::runtime_error(dlerror());
  const auto init = reinterpret_cast<Entry>(dlsym(handle_, "InitModule"));
  if (!init) throw std::runtime_error("no InitModule");
  init(nullptr);
  initialised_ = true;
}

LoadedModule::~LoadedModule() { Unload(); }

void LoadedModule::Exit() {
  if (!initialised_) return;
  initialised_ = false;
  reinterpret_cast<Entry>(dlsym(handle_, "ExitModule"))(nullptr);
}

void LoadedModule::Unload() {
  Exit();
  if (handle_) dlclose(handle_);
  handle_ = nullptr;
}

std::unique_ptr<OrbiterHost::HostedDisplay> LoadedModule::Open(int w, int h) {
  const auto mode = OrbiterHost::FindMode("Brovis");
  if (!mode) return nullptr;
  return OrbiterHost::HostedDisplay::Open(*mode, 0, w, h, &vessel_);
}

}  // namespace BrovisTest
