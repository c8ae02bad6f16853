#pragma once
// Text as the pilot types it into the simulator: what a script gives in UTF-8, converted to the
// host's ANSI code page before it reaches the module.
#include <string>
#include <string_view>

namespace Cockpit {

// A character the code page lacks becomes '?', as the system's own conversion does.
std::string ToHostCodePage(std::string_view utf8);

}  // namespace Cockpit
