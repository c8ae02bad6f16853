#pragma once
// Reading one of the browser's messages: what it is, told from its first bytes, so that one
// nobody wants is skipped unparsed; and its JSON, which no text inside it can make unreadable.
#include <optional>
#include <string>
#include <string_view>

#include "browser/engine/chromium/protocol/protocol_json.h"

namespace Brovis::Engine {

// What a message's first bytes say it is. The browser writes a reply's "id" first and an event's
// "method" first; a message that starts otherwise says nothing here and has to be parsed.
struct MessageHead {
  std::optional<int> id;    // a reply's
  std::string_view method;  // an event's
};
MessageHead PeekHead(std::string_view message);

// The message's JSON; discarded (is_discarded()) when it is not JSON. The browser escapes text
// one UTF-16 unit at a time, so a page's unpaired surrogate arrives as a lone "\uD800"-style
// escape, which JSON readers refuse: each such escape reads as U+FFFD instead. The repair is made
// in `message` itself and keeps its length.
Json ParseMessage(std::string& message);

}  // namespace Brovis::Engine
