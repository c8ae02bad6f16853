#include "platform/orbiter/invalidation.h"

#include <unordered_set>

#include "platform/orbiter/orbiter_host.h"

namespace OrbiterHost {

namespace {
std::unordered_set<const MFD*>& Invalidated() {
  static std::unordered_set<const MFD*> displays;
  return displays;
}
}  // namespace

void MarkInvalidated(const MFD& display) { Invalidated().insert(&display); }

void ForgetDisplay(const MFD& display) { Invalidated().erase(&display); }

bool TakeInvalidated(const MFD& display) { return Invalidated().erase(&display) > 0; }

}  // namespace OrbiterHost
