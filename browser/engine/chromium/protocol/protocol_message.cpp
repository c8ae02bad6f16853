#include "browser/engine/chromium/protocol/protocol_message.h"

#include <charconv>
#include <cstring>

namespace Brovis::Engine {

namespace {

constexpr std::string_view kIdStart = R"({"id":)";
constexpr std::string_view kMethodStart = R"({"method":")";

// The UTF-16 unit of a "\uXXXX" escape at `at`, or -1.
int EscapedUnit(std::string_view text, std::size_t at) {
  if (at + 6 > text.size() || text[at] != '\\' || text[at + 1] != 'u') return -1;
  int unit = 0;
  const auto [end, error] = std::from_chars(text.data() + at + 2, text.data() + at + 6, unit, 16);
  return error == std::errc() && end == text.data() + at + 6 ? unit : -1;
}

bool IsHighSurrogate(int unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(int unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Outside strings a backslash is not JSON at all, so every one starts an escape: two characters,
// or six for "\u". A pair of surrogate escapes stays; a lone one becomes "\ufffd".
void ReplaceLoneSurrogates(std::string& text) {
  const std::string_view view = text;
  std::size_t at = view.find('\\');
  while (at != std::string_view::npos) {
    const int unit = EscapedUnit(view, at);
    std::size_t next = at + 2;
    if (unit >= 0) {
      next = at + 6;
      if (IsHighSurrogate(unit) && IsLowSurrogate(EscapedUnit(view, next))) {
        next += 6;
      } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
        text.replace(at + 2, 4, "fffd");
      }
    }
    at = next < view.size() ? view.find('\\', next) : std::string_view::npos;
  }
}

}  // namespace

MessageHead PeekHead(std::string_view message) {
  if (message.starts_with(kIdStart)) {
    const char* digits = message.data() + kIdStart.size();
    const char* end = message.data() + message.size();
    int id = 0;
    const auto [after, error] = std::from_chars(digits, end, id);
    if (error == std::errc() && after != digits && after != end && (*after == ',' || *after == '}'))
      return {id, {}};
  } else if (message.starts_with(kMethodStart)) {
    const std::string_view rest = message.substr(kMethodStart.size());
    const std::size_t close = rest.find_first_of("\"\\");
    if (close != std::string_view::npos && close > 0 && rest[close] == '"')
      return {std::nullopt, rest.substr(0, close)};
  }
  return {};
}

Json ParseMessage(std::string& message) {
  ReplaceLoneSurrogates(message);
  return Json::parse(message, nullptr, /*allow_exceptions=*/false);
}

}  // namespace Brovis::Engine
