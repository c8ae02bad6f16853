#pragma once
// Which elements of a page the pilot can step to: visible links, text areas and inputs other
// than hidden ones, that scrolling can bring into view, judged from facts the engine reports
// about them in bulk.
#include "browser/engine/browser_text.h"
#include "browser/engine/dom.h"

namespace Brovis {

// The tag name with ASCII letters upper-cased; the engine may report "a" for "A" (XHTML, SVG).
BrowserText UpperCaseTag(BrowserTextView tag);

// Tag A, INPUT or TEXTAREA; for INPUT a "type" other than exactly "hidden"; shown (the engine
// finds out whether any level up to the root is hidden or undisplayed); and within reach of the
// scroll that brings the selection into view, so that the pilot sees what he selects.
bool IsSelectable(const Engine::ElementFacts& facts);

}  // namespace Brovis
