#include "browser/engine/event_queue.h"

#include <algorithm>

namespace Brovis::Engine {

void EventQueue::push(EngineEvent event) {
  if (event.kind == EventKind::Invalidated &&
      std::any_of(queue_.begin(), queue_.end(),
                  [](const Entry& e) { return e.event.kind == EventKind::Invalidated; }))
    return;
  queue_.push_back({nextSequence_++, std::move(event)});
}

bool EventQueue::mayRun(EventKind kind) const {
  const int running = running_[static_cast<int>(kind)];
  // A repaint inside a repaint would only repaint again; it waits for the outer one to end.
  return kind == EventKind::Invalidated ? running == 0 : running < kMaxNesting;
}

bool EventQueue::dispatch(const std::function<void(const EngineEvent&)>& handler) {
  const std::uint64_t end = nextSequence_;
  bool ran = false;
  for (;;) {
    auto it = std::find_if(queue_.begin(), queue_.end(), [&](const Entry& e) {
      return e.sequence < end && mayRun(e.event.kind);
    });
    if (it == queue_.end()) return ran;
    const EngineEvent event = std::move(it->event);
    queue_.erase(it);
    int& running = running_[static_cast<int>(event.kind)];
    ++running;
    struct Leave {
      int& counter;
      ~Leave() { --counter; }
    } leave{running};
    handler(event);
    ran = true;
  }
}

}  // namespace Brovis::Engine
