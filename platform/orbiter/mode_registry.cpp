#include <algorithm>

#include "platform/orbiter/orbiter_host.h"

namespace OrbiterHost {

namespace {
struct Registry {
  std::vector<RegisteredMode> modes;
  int nextId = 1;
};
Registry& Modes() {
  static Registry registry;
  return registry;
}
}  // namespace

std::vector<RegisteredMode> RegisteredModes() { return Modes().modes; }

std::optional<RegisteredMode> FindMode(std::string_view name) {
  for (const RegisteredMode& mode : Modes().modes)
    if (mode.name == name) return mode;
  return std::nullopt;
}

}  // namespace OrbiterHost

int oapiRegisterMFDMode(MFDMODESPEC& modeSpec) {
  MFDMODESPECEX withoutContext{modeSpec.name, modeSpec.key, nullptr, modeSpec.msgproc};
  return oapiRegisterMFDMode(withoutContext);
}

int oapiRegisterMFDMode(MFDMODESPECEX& modeSpec) {
  auto& registry = OrbiterHost::Modes();
  OrbiterHost::RegisteredMode mode;
  mode.id = registry.nextId++;
  // A copy of the name: the simulator lists it long after the record is gone.
  mode.name = modeSpec.name ? modeSpec.name : "";
  mode.key = modeSpec.key;
  mode.msgproc = modeSpec.msgproc;
  mode.context = modeSpec.context;
  registry.modes.push_back(std::move(mode));
  return registry.modes.back().id;
}

bool oapiUnregisterMFDMode(int id) {
  auto& modes = OrbiterHost::Modes().modes;
  const auto it = std::find_if(modes.begin(), modes.end(),
                               [id](const OrbiterHost::RegisteredMode& m) { return m.id == id; });
  if (it == modes.end()) return false;
  modes.erase(it);
  return true;
}
