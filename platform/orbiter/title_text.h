#pragma once
// The simulator's text renderer for display titles, and the size of its display font.
#include <string_view>

#include "platform/win32/surface.h"

namespace OrbiterHost {

// Draws `title` in the display font at the top-left corner of `surface`. The simulator's own
// titles are ASCII; any other byte is drawn as '?'.
void DrawTitle(Win32::Surface& surface, std::string_view title);

struct CharacterCell {
  unsigned width = 0;
  unsigned height = 0;
};
// One character of the display font on a display `height` pixels high: the advance of an 'M'
// and the font's line height.
CharacterCell DisplayFontCell(int height);

}  // namespace OrbiterHost
