#pragma once
// The functions that run inside the page, in the module's own script world, one per DOM
// operation. Arguments arrive as JSON values. An element the module holds is a holder,
// {element}, of that world: the protocol describes an object it hands out, and for an element
// that description carries the page's id and class names, of any length and not always well
// formed text. A holder is described as a plain object. Every text an answer carries is well
// formed, and those the module only compares are cut short. Functions that change the page
// return whether anything visible may have changed, so that the next print knows to wait for
// the new picture. Each is a file of page_scripts/, embedded as the constant of its name
// (short_text.js as kShortText).
#include "browser/engine/chromium/page_script_sources.h"

namespace Brovis::Engine::Scripts {

// How long a text the module only compares may be, in UTF-16 code units: longer than any tag
// name or value it looks for, and so short that no page can make an answer of them large.
inline constexpr int kShortTextLimit = 64;

// A function that may change how the page looks is called inside this one. When it says it
// changed something (an answer of false, or a pair ending in false, says not), the world keeps,
// as `brovisRendered`, the promise of the time of the first rendering step after it: the step
// that shows the change. Times are milliseconds since the epoch, as the browser dates frames.
inline constexpr const char* kChangeOpening = "function(...a) { const r = (";
inline constexpr const char* kChangeClosing = R"().apply(this, a);
  if (r !== false && !(Array.isArray(r) && r[1] === false))
    globalThis.brovisRendered =
        new Promise(s => requestAnimationFrame(t => s(performance.timeOrigin + t)));
  return r;
})";
// Picture fences: the time of the next rendering step, or in the world, of the first one after
// its latest change, which may have passed already.
inline constexpr const char* kNextRendering =
    "new Promise(s => requestAnimationFrame(t => s(performance.timeOrigin + t)))";
inline constexpr const char* kRenderingAfterChanges =
    "globalThis.brovisRendered || "
    "new Promise(s => requestAnimationFrame(t => s(performance.timeOrigin + t)))";

}  // namespace Brovis::Engine::Scripts
