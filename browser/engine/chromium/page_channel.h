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
  struct Hooks {
    // A call may have changed how the page looks.
    std::function<void()> pageChanged;
    // A call got no answer in time.
    std::function<void()> timedOut;
    // Whether the page answers at all now; calls fail at once while it does not.
    std::function<bool()> answering;
    // The pilot clicked or typed into the page.
    std::function<void()> pilotActed;
  };

  PageChannel(Connection& connection, std::string sessionId, std::chrono::milliseconds limit,
              Hooks hooks)
      : connection_(&connection),
        sessionId_(std::move(sessionId)),
        limit_(limit),
        hooks_(std::move(hooks)) {}

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
    if (hooks_.pageChanged) hooks_.pageChanged();
  }
  void notePilotAction() {
    if (hooks_.pilotActed) hooks_.pilotActed();
  }
  // The engine is going away: every later call fails.
  void detach() { connection_ = nullptr; }

 private:
  std::optional<Json> run(Json params, const char* method);

  Connection* connection_;
  std::string sessionId_;
  std::chrono::milliseconds limit_;
  Hooks hooks_;
};

}  // namespace Brovis::Engine
