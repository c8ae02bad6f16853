#pragma once
// The cockpit window's picture put on the desktop through SDL's surfaces, and read back.
#include <SDL_video.h>

#include "platform/win32/surface.h"

namespace Cockpit {

// Copies `picture` onto `window`'s surface and shows it.
void Present(SDL_Window* window, Win32::Surface& picture);
// What `window` shows now; empty when SDL cannot say.
Win32::Surface Screenshot(SDL_Window* window);

}  // namespace Cockpit
