#include "tests/host/loaded_module.h"

namespace BrovisTest {

LoadedModule::LoadedModule(const std::string& path) : library_(std::in_place, path) {
  library_->Init();
  initialised_ = true;
}

LoadedModule::~LoadedModule() { Unload(); }

void LoadedModule::Exit() {
  if (initialised_) library_->Exit();
  initialised_ = false;
}

void LoadedModule::Unload() {
  Exit();
  library_.reset();
}

std::unique_ptr<OrbiterHost::HostedDisplay> LoadedModule::Open(int w, int h) {
  const auto mode = OrbiterHost::FindMode("Brovis");
  if (!mode) return nullptr;
  return OrbiterHost::HostedDisplay::Open(*mode, 0, w, h, &vessel_);
}

}  // namespace BrovisTest
