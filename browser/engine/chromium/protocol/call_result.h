#pragma once
// How a command to the browser ended: its result, or a failure of one of a few kinds. The engine
// decides by the kind; the message, one format for every failure, is for people.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "browser/engine/chromium/protocol/protocol_json.h"

namespace Brovis::Engine {

enum class CallError {
  None,
  // The connection is closed, or closed before the reply came; or there is no page to ask.
  Closed,
  // The whole time limit passed without a reply: the browser or the page is not answering.
  TimedOut,
  // The caller's time budget ended before the limit did: the silence says nothing of the page.
  OutOfBudget,
  // The browser answered with an error.
  Refused,
  // The reply cannot be read: not JSON, not of the protocol's shape, or too large to be read.
  Malformed,
};

struct CallResult {
  // The reply's result, an object; none on failure.
  std::optional<Json> result;
  CallError error = CallError::None;
  // On failure: "<method> <kind> (limit <n> ms)", then ": <detail>" when there is one, such as
  // the browser's own message. "(no limit)" for a command without one.
  std::string message;

  explicit operator bool() const { return result.has_value(); }

  static CallResult Success(Json result) { return {std::move(result), CallError::None, {}}; }
  static CallResult Failure(CallError error, std::string_view method,
                            std::chrono::milliseconds limit, std::string_view detail = {});
};

}  // namespace Brovis::Engine
