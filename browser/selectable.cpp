#include "browser/selectable.h"

namespace Brovis {

BrowserText UpperCaseTag(BrowserTextView tag) {
  BrowserText upper(tag);
  for (char8_t& c : upper)
    if (c >= u8'a' && c <= u8'z') c = static_cast<char8_t>(c - (u8'a' - u8'A'));
  return upper;
}

bool IsSelectable(const Engine::ElementFacts& facts) {
  const BrowserText tag = UpperCaseTag(facts.tagName);
  if (tag != u8"A" && tag != u8"INPUT" && tag != u8"TEXTAREA") return false;
  // An absent attribute passes; the value is compared exactly, case and all.
  if (tag == u8"INPUT" && facts.type && *facts.type == u8"hidden") return false;
  return facts.shown && facts.reachable;
}

}  // namespace Brovis
