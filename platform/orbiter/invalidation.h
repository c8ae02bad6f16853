#pragma once
// Which displays asked for a redraw, kept by the simulator's side.
#include "platform/orbiter/orbiter_api.h"

namespace OrbiterHost {

void MarkInvalidated(const MFD& display);
// Forgets a display that is going away.
void ForgetDisplay(const MFD& display);

}  // namespace OrbiterHost
