#pragma once
// Text as the simulator hands it over: zero-terminated 8-bit characters in the system's ANSI code
// page. A type of its own, so that it cannot be passed where browser text (Unicode) is expected,
// nor the other way round; the only way across is ToBrowserText.
#include "browser/engine/browser_text.h"

namespace Brovis {

class HostText {
 public:
  // Null counts as empty text.
  explicit HostText(const char* text) : text_(text ? text : "") {}
  const char* c_str() const { return text_; }

 private:
  const char* text_;
};

// Decodes from the code page GetACP reports. A byte that does not form a character of that code
// page becomes U+FFFD, and decoding goes on with the next byte: the result never stops early.
BrowserText ToBrowserText(HostText text);

}  // namespace Brovis
