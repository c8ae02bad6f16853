#pragma once
// The functions that run inside the page, in the module's own script world, one per DOM
// operation. Arguments arrive as JSON values. An element the module holds is a holder,
// {element}, of that world: the protocol describes an object it hands out, and for an element
// that description carries the page's id and class names, of any length and not always well
// formed text. A holder is described as a plain object. Every text an answer carries is well
// formed, and those the module only compares are cut short. Functions that change the page
// return whether anything visible may have changed, so that the next print knows to wait for
// the new picture. Each is a file of scripts/, embedded as the constant of its name
// (short_text.js as kShortText).
#include "browser/engine/chromium/page/page_script_sources.h"

namespace Brovis::Engine::Scripts {

// How long a text the module only compares may be, in UTF-16 code units: longer than any tag
// name or value it looks for, and so short that no page can make an answer of them large.
inline constexpr int kShortTextLimit = 64;

}  // namespace Brovis::Engine::Scripts
