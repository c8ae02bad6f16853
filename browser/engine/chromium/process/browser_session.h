#pragma once
// One browser and the page it shows: the process, the connection to it, and the page target
// attached and set up. Attaching runs in the background, driven by the connection's replies, so
// that starting a browser again never holds the host's thread.
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "browser/engine/chromium/process/browser_process.h"
#include "browser/engine/chromium/protocol/connection.h"

namespace Brovis::Engine {

class BrowserSession {
 public:
  enum class State { Attaching, Ready, Failed };

  // Starts the browser and begins attaching to its page with a view of width x height (the
  // browser's own when either is 0), whose frames the engine drives when `frameControl`;
  // `onEvent` receives the browser's own events and its page's. None when no browser could be
  // started, with the reason in `error`.
  static std::unique_ptr<BrowserSession> Start(Connection::EventHandler onEvent, int width,
                                               int height, bool frameControl, std::string& error);

 private:
  struct Key {
    explicit Key() = default;
  };

 public:
  // Use Start.
  BrowserSession(Key, BrowserProcess process, Connection::EventHandler onEvent);
  // Asks the browser to close, gives it `closeGrace` to do so, then kills what is left and
  // removes its directory.
  ~BrowserSession();
  BrowserSession(const BrowserSession&) = delete;
  BrowserSession& operator=(const BrowserSession&) = delete;

  State state() const { return state_; }
  // Why attaching failed, with the tail of the browser's own messages.
  const std::string& failure() const { return failure_; }
  // The browser is gone or can no longer be talked to. (Its helper processes may keep the pipe
  // open after it died, so its exit is checked too.)
  bool lost();

  Connection& connection() { return *connection_; }
  const Connection& connection() const { return *connection_; }
  const std::string& sessionId() const { return sessionId_; }
  int pid() const { return process_.pid(); }
  void setCloseGrace(std::chrono::milliseconds grace) { closeGrace_ = grace; }

  // The time a started browser has to answer at all.
  static constexpr std::chrono::milliseconds kStartLimit{20000};

 private:
  void attachTo(const std::string& targetId, int width, int height);
  void configure(int width, int height);
  void fail(const std::string& why);

  BrowserProcess process_;
  std::unique_ptr<Connection> connection_;
  State state_ = State::Attaching;
  std::string failure_;
  std::string sessionId_;
  // A browser closes in a few hundred milliseconds; the host's thread waits no longer than this.
  std::chrono::milliseconds closeGrace_{1000};
};

}  // namespace Brovis::Engine
