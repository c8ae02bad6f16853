#pragma once
// The commands waiting for the browser's reply, by id. An entry lives from its command's send
// until its reply, its expiry or the connection's close, whichever comes first and takes it out,
// so the registry holds only what is in flight. The deadlines are kept in order beside the
// entries: expiry looks at the earliest one, never at every entry.
#include <chrono>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "browser/engine/chromium/protocol/call_result.h"

namespace Brovis::Engine {

class ReplyRegistry {
 public:
  using Clock = std::chrono::steady_clock;

  struct Entry {
    std::string method;
    // From the send; milliseconds::max() for none.
    std::chrono::milliseconds limit = std::chrono::milliseconds::max();
    // How a reply that does not come in time fails: timed out, or out of the caller's budget.
    CallError onExpiry = CallError::TimedOut;
    std::function<void(CallResult)> onReply;
    Clock::time_point deadline = Clock::time_point::max();

    // The failure of this command, in the one format.
    CallResult failure(CallError error, std::string_view detail = {}) const {
      return CallResult::Failure(error, method, limit, detail);
    }
  };

  // Adds the entry of a command just numbered `id`; its deadline is `limit` from now.
  void add(int id, Entry entry);
  bool contains(int id) const { return entries_.contains(id); }
  // Takes out the entry of `id`; none when it is not waiting (any more).
  std::optional<Entry> take(int id);
  // Takes out the entry with the earliest deadline, when that deadline is `now` or before.
  std::optional<Entry> takeExpired(Clock::time_point now);
  // Takes out every entry, in no particular order.
  std::vector<Entry> takeAll();
  // The earliest deadline; none when no entry has one.
  std::optional<Clock::time_point> nextDeadline() const;
  std::size_t size() const { return entries_.size(); }

 private:
  std::unordered_map<int, Entry> entries_;
  std::set<std::pair<Clock::time_point, int>> deadlines_;
};

}  // namespace Brovis::Engine
