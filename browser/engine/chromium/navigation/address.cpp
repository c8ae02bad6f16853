#include "browser/engine/chromium/navigation/address.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace Brovis::Engine {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Schemes that a typed address may start with. Anything else before a colon ("localhost:8080",
// "example.org:81/x") is a host and port.
constexpr std::array<std::string_view, 14> kSchemes = {
    "http",   "https", "file",        "about",  "data", "javascript", "blob",
    "chrome", "ftp",   "view-source", "mailto", "ws",   "wss",        "filesystem"};

}  // namespace

std::string NormalizeAddress(std::string_view typed) {
  while (!typed.empty() && IsSpace(typed.front())) typed.remove_prefix(1);
  while (!typed.empty() && IsSpace(typed.back())) typed.remove_suffix(1);
  const auto colon = typed.find(':');
  if (colon != std::string_view::npos && colon > 0) {
    std::string scheme(typed.substr(0, colon));
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (std::find(kSchemes.begin(), kSchemes.end(), scheme) != kSchemes.end())
      return std::string(typed);
  }
  if (typed.empty()) return {};
  return "http://" + std::string(typed);
}

}  // namespace Brovis::Engine
