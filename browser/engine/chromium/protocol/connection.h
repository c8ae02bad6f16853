#pragma once
// The DevTools protocol over the pipe: numbered commands, their replies and time limits, and the
// browser's events. A command's reply slot exists before the command is written; every message
// is routed in one fixed order (reply, then event); on close every waiting command fails at
// once, and a command sent after close fails immediately. Events are handed to one handler as
// they are read, even while a command waits, so that the browser is never kept waiting for an
// answer it needs (a dialog, a frame acknowledgement). What nobody waits for (a late reply, an
// event that is dropped) is skipped without being parsed.
#include <chrono>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/engine/chromium/protocol/call_result.h"
#include "browser/engine/chromium/protocol/pipe_transport.h"
#include "browser/engine/chromium/protocol/reply_registry.h"

namespace Brovis::Engine {

struct ProtocolEvent {
  std::string_view method;
  const Json& params;  // always an object
  std::string_view sessionId;
};

class Connection {
 public:
  using EventHandler = std::function<void(const ProtocolEvent&)>;
  using ReplyHandler = std::function<void(CallResult)>;

  explicit Connection(PipeTransport transport);

  void setEventHandler(EventHandler handler) { onEvent_ = std::move(handler); }
  // Events of these methods are not wanted: they are skipped unread, however large.
  void dropEvents(std::initializer_list<std::string_view> methods);

  // Sends a command and waits up to `limit` for its reply, less when the thread's call budget
  // ends sooner: TimedOut when the whole `limit` passed, OutOfBudget when the budget cut it short
  // (or was spent before). A reply that comes later is dropped.
  CallResult call(std::string_view method, Json params, std::string_view sessionId,
                  std::chrono::milliseconds limit);
  // Sends a command without waiting; `onReply`, if any, runs when the reply is read, or with a
  // failure when the connection closes or `limit` passes first. Without `onReply` nothing is
  // kept for the command.
  void post(std::string_view method, Json params, std::string_view sessionId,
            ReplyHandler onReply = {},
            std::chrono::milliseconds limit = std::chrono::milliseconds::max());

  // Writes what waits, reads and routes whatever has arrived, and fails the commands whose time
  // is up; without blocking.
  void poll();
  // Waits up to `limit` (no later than the next command's deadline) for something to arrive,
  // then polls; false when nothing arrived.
  bool waitAndPoll(std::chrono::milliseconds limit);

  bool closed() const { return transport_.closed(); }
  void close();
  int readHandle() const { return transport_.readHandle(); }
  // Commands whose replies are waited for now.
  std::size_t waitingCommands() const { return replies_.size(); }

  // Above this size a message is parsed only when it is an event that is not dropped: a reply
  // this large fails its command unread (its page stays), and any other message is skipped.
  static constexpr std::size_t kLargeMessage = 8u << 20;
  // The longest a write waits for the browser to take it, within the caller's budget.
  static constexpr std::chrono::milliseconds kWriteLimit{2000};

 private:
  using Clock = ReplyRegistry::Clock;

  // Numbers and writes a command; `waiting` is its entry when someone waits for the reply.
  void send(std::string_view method, Json params, std::string_view sessionId,
            std::optional<ReplyRegistry::Entry> waiting);
  void route(std::string& message);
  void answer(ReplyRegistry::Entry entry, const Json& reply);
  void dispatchEvent(const Json& event);
  bool dropped(std::string_view method) const;
  void failAll();
  void expire();

  PipeTransport transport_;
  EventHandler onEvent_;
  std::vector<std::string> droppedEvents_;
  int nextId_ = 1;
  ReplyRegistry replies_;
};

}  // namespace Brovis::Engine
