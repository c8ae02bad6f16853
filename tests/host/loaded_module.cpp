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

std::unique_ptr<MFD> LoadedModule::Open(int w, int h) {
  const auto mode = OrbiterHost::FindMode("Brovis");
  if (!mode) return nullptr;
  const MFD_WPARAM size = static_cast<MFD_WPARAM>(w) | static_cast<MFD_WPARAM>(h) << 16;
  return std::unique_ptr<MFD>(reinterpret_cast<MFD*>(
      mode->msgproc(kMfdOpenedMessage, 0, size, reinterpret_cast<MFD_LPARAM>(&vessel_))));
}

}  // namespace BrovisTest
