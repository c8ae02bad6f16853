#pragma once
// How the module's functions reach the page: calls on the page session with the engine's time
// limit, run in a script world of the module's own in the page's main document. The page's
// scripts live in another world: what they do to built-ins, prototypes and getters never reaches
// ours, while both worlds share the document itself (its elements, their values, their events).
// The world goes with its document and is made again, on first use, in the next one. Remote
// objects hold the channel weakly, so that an element that outlives its engine just fails.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "browser/engine/chromium/protocol/connection.h"

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

  // What a call runs on when it is not one of the module's objects: the world's global object,
  // whose `document` is the page's.
  static constexpr std::string_view kGlobal{};

  // Calls `function` with `this` = the object `on` (of the module's world, or kGlobal) and
  // `arguments`, each passed as a value. Its result by value, null for undefined; none on
  // failure or when the function threw.
  std::optional<Json> value(std::string_view on, std::string_view function,
                            Json arguments = Json::array());
  // The same, with the result kept in the page as a new object; its id, none for null or on
  // failure.
  std::optional<std::string> object(std::string_view on, std::string_view function,
                                    Json arguments = Json::array());
  // Evaluates an expression in the page's own world, as the page's scripts see it.
  std::optional<Json> evaluate(const std::string& expression, bool returnByValue);
  // Lets the browser forget an object; never fails the caller.
  void release(const std::string& objectId);
  // The latest call changed how the page looks: the next print waits for its picture.
  void notePageChange() {
    if (hooks_.pageChanged) hooks_.pageChanged();
  }
  // The page session's Runtime.executionContext* events: a document that goes takes the
  // module's world with it.
  void onContextEvent(std::string_view method, const Json& params);
  void notePilotAction() {
    if (hooks_.pilotActed) hooks_.pilotActed();
  }
  // The engine is going away: every later call fails.
  void detach() { connection_ = nullptr; }

 private:
  // A command's result; none on failure.
  std::optional<Json> send(const char* method, Json params);
  // A Runtime command's resulting remote object; none on failure or when the script threw.
  std::optional<Json> run(const char* method, Json params);
  std::optional<Json> call(std::string_view on, std::string_view function, Json arguments,
                           bool returnByValue);
  // The world's execution context, made now if this document has none yet.
  std::optional<int> world();

  Connection* connection_;
  std::string sessionId_;
  std::chrono::milliseconds limit_;
  Hooks hooks_;
  std::string topDocumentId_;
  std::optional<int> world_;
  // Counts the times the page's documents went, so that a world made meanwhile is not kept.
  std::uint64_t documentsLeft_ = 0;
};

}  // namespace Brovis::Engine
