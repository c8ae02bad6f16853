#include "browser/engine/chromium/connection.h"

#include <vector>

#include "browser/engine/call_budget.h"

namespace Brovis::Engine {

Connection::Connection(PipeTransport transport) : transport_(std::move(transport)) {}

int Connection::send(std::string_view method, Json params, std::string_view sessionId,
                     Pending pending) {
  const int id = nextId_++;
  Json message = {{"id", id}, {"method", method}, {"params", std::move(params)}};
  if (!sessionId.empty()) message["sessionId"] = sessionId;
  pending_.emplace(id, std::move(pending));
  const std::string text = message.dump(-1, ' ', false, Json::error_handler_t::replace);
  if (!transport_.send(text, static_cast<int>(CallBudget::Limit(kWriteLimit).count()))) close();
  return id;
}

CallResult Connection::call(std::string_view method, Json params, std::string_view sessionId,
                            std::chrono::milliseconds limit) {
  if (closed()) return CallResult::Failure(CallError::Closed, method, limit);
  const auto allowed = CallBudget::Limit(limit);
  // Cut short by the caller's budget, a call that gets no answer says nothing about the page.
  const bool budgeted = allowed < limit;
  limit = allowed;
  if (limit.count() <= 0) return CallResult::Failure(CallError::OutOfBudget, method, limit);
  Pending pending;
  pending.method = method;
  pending.limit = limit;
  const int id = send(method, std::move(params), sessionId, std::move(pending));
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    auto it = pending_.find(id);
    if (it == pending_.end()) return CallResult::Failure(CallError::Closed, method, limit);
    if (it->second.done) {
      CallResult result = std::move(it->second.result);
      pending_.erase(it);
      return result;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || closed()) {
      pending_.erase(id);
      const CallError why = closed()   ? CallError::Closed
                            : budgeted ? CallError::OutOfBudget
                                       : CallError::TimedOut;
      return CallResult::Failure(why, method, limit);
    }
    waitAndPoll(left);
  }
}

void Connection::post(std::string_view method, Json params, std::string_view sessionId,
                      ReplyHandler onReply, std::chrono::milliseconds limit) {
  if (closed()) {
    if (onReply) onReply(CallResult::Failure(CallError::Closed, method, limit));
    return;
  }
  Pending pending;
  pending.onReply = std::move(onReply);
  pending.method = method;
  pending.limit = limit;
  if (limit != std::chrono::milliseconds::max())
    pending.deadline = std::chrono::steady_clock::now() + limit;
  send(method, std::move(params), sessionId, std::move(pending));
}

void Connection::poll() {
  if (closed()) return;
  transport_.flush();
  for (const std::string& message : transport_.receive()) route(message);
  if (closed()) {
    failAllPending();
    return;
  }
  expirePosted();
}

void Connection::expirePosted() {
  const auto now = std::chrono::steady_clock::now();
  std::vector<std::pair<ReplyHandler, CallResult>> expired;
  for (auto it = pending_.begin(); it != pending_.end();) {
    if (it->second.onReply && it->second.deadline <= now) {
      expired.emplace_back(
          std::move(it->second.onReply),
          CallResult::Failure(CallError::TimedOut, it->second.method, it->second.limit));
      it = pending_.erase(it);
    } else {
      ++it;
    }
  }
  for (auto& [handler, failure] : expired) handler(failure);
}

bool Connection::waitAndPoll(std::chrono::milliseconds limit) {
  if (closed()) return false;
  const bool ready = transport_.waitReadable(static_cast<int>(limit.count()));
  poll();
  return ready;
}

void Connection::close() {
  transport_.close();
  failAllPending();
}

void Connection::failAllPending() {
  // Handlers may post again (which fails at once now), so detach the table first.
  std::vector<std::pair<ReplyHandler, CallResult>> failed;
  for (auto it = pending_.begin(); it != pending_.end();) {
    CallResult failure =
        CallResult::Failure(CallError::Closed, it->second.method, it->second.limit);
    if (it->second.onReply) {
      failed.emplace_back(std::move(it->second.onReply), std::move(failure));
      it = pending_.erase(it);
    } else {
      it->second.done = true;
      it->second.result = std::move(failure);
      ++it;
    }
  }
  for (auto& [handler, failure] : failed) handler(failure);
}

void Connection::route(const std::string& message) {
  const Json parsed = Json::parse(message, nullptr, false);
  if (!parsed.is_object()) return;
  const auto idIt = parsed.find("id");
  if (idIt != parsed.end() && idIt->is_number_integer()) {
    auto it = pending_.find(idIt->get<int>());
    if (it == pending_.end()) return;  // its caller stopped waiting
    const Pending& pending = it->second;
    CallResult result;
    if (auto r = parsed.find("result"); r != parsed.end() && r->is_object()) {
      result = CallResult::Success(*r);
    } else if (auto e = parsed.find("error"); e != parsed.end() && e->is_object()) {
      result = CallResult::Failure(CallError::Refused, pending.method, pending.limit,
                                   Field(*e, "message", ""));
    } else {
      result = CallResult::Failure(CallError::Malformed, pending.method, pending.limit);
    }
    if (it->second.onReply) {
      ReplyHandler handler = std::move(it->second.onReply);
      pending_.erase(it);
      handler(result);
    } else {
      it->second.done = true;
      it->second.result = std::move(result);
    }
    return;
  }
  const auto method = parsed.find("method");
  if (method == parsed.end() || !method->is_string() || !onEvent_) return;
  static const Json kNoParams = Json::object();
  const auto params = parsed.find("params");
  const auto session = parsed.find("sessionId");
  const std::string sessionId =
      session != parsed.end() && session->is_string() ? session->get<std::string>() : "";
  onEvent_({method->get_ref<const std::string&>(), params != parsed.end() ? *params : kNoParams,
            sessionId});
}

}  // namespace Brovis::Engine
