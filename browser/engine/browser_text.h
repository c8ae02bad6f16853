#pragma once
// Text on the browser's side of the bridge: Unicode, held as UTF-8. It is a type of its own, so
// that host text in the simulator's code page can never be passed for it by accident.
#include <string>
#include <string_view>

namespace Brovis {

using BrowserText = std::u8string;
using BrowserTextView = std::u8string_view;

// For the engine's own use at its boundary (protocol text is UTF-8 too).
inline std::string_view AsUtf8Bytes(BrowserTextView text) {
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}
inline BrowserText FromUtf8Bytes(std::string_view bytes) {
  return {reinterpret_cast<const char8_t*>(bytes.data()), bytes.size()};
}

}  // namespace Brovis
