#include "browser/engine/chromium/protocol/call_result.h"

namespace Brovis::Engine {

namespace {
const char* KindName(CallError error) {
  switch (error) {
    case CallError::None:
      return "succeeded";
    case CallError::Closed:
      return "closed";
    case CallError::TimedOut:
      return "timed out";
    case CallError::OutOfBudget:
      return "out of budget";
    case CallError::Refused:
      return "refused";
    case CallError::Malformed:
      return "malformed";
  }
  return "failed";
}
}  // namespace

CallResult CallResult::Failure(CallError error, std::string_view method,
                               std::chrono::milliseconds limit, std::string_view detail) {
  std::string message(method);
  message += ' ';
  message += KindName(error);
  message += limit == std::chrono::milliseconds::max()
                 ? std::string(" (no limit)")
                 : " (limit " + std::to_string(limit.count()) + " ms)";
  if (!detail.empty()) {
    message += ": ";
    message += detail;
  }
  return {std::nullopt, error, std::move(message)};
}

}  // namespace Brovis::Engine
