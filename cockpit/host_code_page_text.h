#pragma once
// Text as the pilot types it into the simulator: what a script or the window gives in UTF-8,
// converted to the host's ANSI code page before it reaches the module; and the module's own texts
// (labels, menus, box titles) converted back for drawing.
#include <string>
#include <string_view>

namespace Cockpit {

// A character the code page lacks becomes '?', as the system's own conversion does.
std::string ToHostCodePage(std::string_view utf8);
// A byte the code page does not define becomes U+FFFD.
std::string FromHostCodePage(std::string_view text);

}  // namespace Cockpit
