#include "browser/engine/chromium/protocol/reply_registry.h"

namespace Brovis::Engine {

void ReplyRegistry::add(int id, Entry entry) {
  // Ids come round again only after two billion commands: whatever still held one is long dead.
  take(id);
  const auto now = Clock::now();
  const auto farthest =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::time_point::max() - now);
  entry.deadline = entry.limit < farthest ? now + entry.limit : Clock::time_point::max();
  if (entry.deadline != Clock::time_point::max()) deadlines_.emplace(entry.deadline, id);
  entries_.emplace(id, std::move(entry));
}

std::optional<ReplyRegistry::Entry> ReplyRegistry::take(int id) {
  const auto it = entries_.find(id);
  if (it == entries_.end()) return std::nullopt;
  Entry entry = std::move(it->second);
  entries_.erase(it);
  deadlines_.erase({entry.deadline, id});
  return entry;
}

std::optional<ReplyRegistry::Entry> ReplyRegistry::takeExpired(Clock::time_point now) {
  if (deadlines_.empty() || deadlines_.begin()->first > now) return std::nullopt;
  return take(deadlines_.begin()->second);
}

std::vector<ReplyRegistry::Entry> ReplyRegistry::takeAll() {
  std::vector<Entry> all;
  all.reserve(entries_.size());
  for (auto& [id, entry] : entries_) all.push_back(std::move(entry));
  entries_.clear();
  deadlines_.clear();
  return all;
}

std::optional<ReplyRegistry::Clock::time_point> ReplyRegistry::nextDeadline() const {
  if (deadlines_.empty()) return std::nullopt;
  return deadlines_.begin()->first;
}

}  // namespace Brovis::Engine
