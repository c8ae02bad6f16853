#pragma once
// How the page's remote objects reach their page: script calls on the page session with the
// engine's time limit. Remote objects hold it weakly, so that an element that outlives its
// engine just fails.
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "browser/engine/chromium/connection.h"

namespace Brovis::Engine {

class PageChannel {
 public:
  PageChannel(Connection& connection, std::string sessionId, std::chrono::milliseconds limit,
              std::function<void()> onPageChange)
      : connection_(&connection),
        sessionId_(std::move(sessionId)),
        limit_(limit),
        onPageChange_(std::move(onPageChange)) {}

  // Runs `function` with `this` = the remote object and the given arguments. The result is the
  // protocol's remote object; none on failure or when the script threw.
  std::optional<Json> callOn(const std::string& objectId, std::string_view function, Json arguments,
                             bool returnByValue, bool userGesture = false);
  // Evaluates an expression in the page's main world.
  std::optional<Json> evaluate(const std::string& expression, bool returnByValue);
  // Lets the browser forget an object; never fails the caller.
  void release(const std::string& objectId);
  // The latest call may have changed how the page looks: the next print waits for its picture.
  void notePageChange() {
    if (onPageChange_) onPageChange_();
  }
  // The engine is going away: every later call fails.
  void detach() { connection_ = nullptr; }

 private:
  std::optional<Json> unwrap(const CallResult& reply);

  Connection* connection_;
  std::string sessionId_;
  std::chrono::milliseconds limit_;
  std::function<void()> onPageChange_;
};

}  // namespace Brovis::Engine
