#pragma once
// The simulator's text renderer for display titles.
#include <string_view>

#include "platform/win32/surface.h"

namespace OrbiterHost {

// Draws `title` in the display font at the top-left corner of `surface`. The simulator's own
// titles are ASCII; any other byte is drawn as '?'.
void DrawTitle(Win32::Surface& surface, std::string_view title);

}  // namespace OrbiterHost
