#include "browser/engine/chromium/protocol/connection.h"

#include <algorithm>
#include <climits>

#include "browser/engine/call_budget.h"
#include "browser/engine/chromium/protocol/protocol_message.h"

namespace Brovis::Engine {

Connection::Connection(PipeTransport transport) : transport_(std::move(transport)) {}

void Connection::dropEvents(std::initializer_list<std::string_view> methods) {
  for (std::string_view method : methods) droppedEvents_.emplace_back(method);
}

bool Connection::dropped(std::string_view method) const {
  return std::ranges::find(droppedEvents_, method) != droppedEvents_.end();
}

void Connection::send(std::string_view method, Json params, std::string_view sessionId,
                      std::optional<ReplyRegistry::Entry> waiting) {
  const int id = nextId_;
  nextId_ = nextId_ == INT_MAX ? 1 : nextId_ + 1;
  Json message = {{"id", id}, {"method", method}, {"params", std::move(params)}};
  if (!sessionId.empty()) message["sessionId"] = sessionId;
  const std::string text = message.dump(-1, ' ', false, Json::error_handler_t::replace);
  // The reply slot exists before the command is written: the write may close the connection.
  if (waiting) replies_.add(id, std::move(*waiting));
  if (!transport_.send(text, static_cast<int>(CallBudget::Limit(kWriteLimit).count()))) close();
}

CallResult Connection::call(std::string_view method, Json params, std::string_view sessionId,
                            std::chrono::milliseconds limit) {
  if (closed()) return CallResult::Failure(CallError::Closed, method, limit);
  const auto allowed = CallBudget::Limit(limit);
  if (allowed.count() <= 0) return CallResult::Failure(CallError::OutOfBudget, method, allowed);
  std::optional<CallResult> reply;
  send(method, std::move(params), sessionId,
       ReplyRegistry::Entry{std::string(method), allowed,
                            allowed < limit ? CallError::OutOfBudget : CallError::TimedOut,
                            [&reply](CallResult r) { reply = std::move(r); }});
  // The reply, the expiry or the close ends the wait: each takes the entry out and answers.
  while (!reply) waitAndPoll(allowed);
  return std::move(*reply);
}

void Connection::post(std::string_view method, Json params, std::string_view sessionId,
                      ReplyHandler onReply, std::chrono::milliseconds limit) {
  if (closed()) {
    if (onReply) onReply(CallResult::Failure(CallError::Closed, method, limit));
    return;
  }
  std::optional<ReplyRegistry::Entry> waiting;
  if (onReply) waiting = {std::string(method), limit, CallError::TimedOut, std::move(onReply)};
  send(method, std::move(params), sessionId, std::move(waiting));
}

void Connection::poll() {
  if (!closed()) {
    transport_.flush();
    for (std::string& message : transport_.receive()) route(message);
  }
  if (closed()) return failAll();
  expire();
}

bool Connection::waitAndPoll(std::chrono::milliseconds limit) {
  bool arrived = false;
  if (!closed()) {
    auto until = Clock::now() + limit;
    if (const auto next = replies_.nextDeadline()) until = std::min(until, *next);
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
    arrived = transport_.waitReadable(static_cast<int>(std::max<std::int64_t>(wait.count(), 0)));
  }
  poll();
  return arrived;
}

void Connection::close() {
  transport_.close();
  failAll();
}

void Connection::failAll() {
  // Taken out first: a handler may post again, which fails at once now.
  for (ReplyRegistry::Entry& entry : replies_.takeAll())
    entry.onReply(entry.failure(CallError::Closed));
}

void Connection::expire() {
  const auto now = Clock::now();
  while (auto entry = replies_.takeExpired(now)) entry->onReply(entry->failure(entry->onExpiry));
}

void Connection::route(std::string& message) {
  const MessageHead head = PeekHead(message);
  const bool large = message.size() > kLargeMessage;
  if (head.id) {
    // A reply its caller stopped waiting for says nothing to anyone.
    if (!replies_.contains(*head.id)) return;
    if (large) {
      ReplyRegistry::Entry entry = *replies_.take(*head.id);
      return entry.onReply(
          entry.failure(CallError::Malformed, "a reply of " + std::to_string(message.size()) +
                                                  " bytes, over the " +
                                                  std::to_string(kLargeMessage) + "-byte limit"));
    }
  } else if (!head.method.empty()) {
    if (!onEvent_ || dropped(head.method)) return;
  } else if (large) {
    return;
  }
  const Json parsed = ParseMessage(message);
  if (head.id) return answer(*replies_.take(*head.id), parsed);
  if (!parsed.is_object()) return;
  if (parsed.contains("id")) {
    if (auto entry = replies_.take(Field(parsed, "id", 0))) answer(std::move(*entry), parsed);
    return;
  }
  dispatchEvent(parsed);
}

void Connection::answer(ReplyRegistry::Entry entry, const Json& reply) {
  CallResult result;
  if (!reply.is_object()) {
    result = entry.failure(CallError::Malformed, "not JSON");
  } else if (const auto r = reply.find("result"); r != reply.end()) {
    result = r->is_object() ? CallResult::Success(*r)
                            : entry.failure(CallError::Malformed, "a result that is no object");
  } else if (const auto e = reply.find("error"); e != reply.end() && e->is_object()) {
    result = entry.failure(CallError::Refused, Field(*e, "message", ""));
  } else {
    result = entry.failure(CallError::Malformed, "neither a result nor an error");
  }
  entry.onReply(std::move(result));
}

void Connection::dispatchEvent(const Json& event) {
  const std::string method = Field(event, "method", "");
  if (method.empty() || !onEvent_ || dropped(method)) return;
  static const Json kNoParams = Json::object();
  const auto params = event.find("params");
  const std::string sessionId = Field(event, "sessionId", "");
  onEvent_({method, params != event.end() && params->is_object() ? *params : kNoParams, sessionId});
}

}  // namespace Brovis::Engine
