#pragma once
// The queue between the engine and the control's event handlers. Handlers may process messages
// again, so dispatch nests; the queue keeps that nesting and its own length bounded however
// busy the page is: repaints coalesce into one pending event and never nest, and the other
// events nest only a few levels deep.
#include <cstdint>
#include <deque>
#include <functional>

#include "browser/engine/engine.h"

namespace Brovis::Engine {

class EventQueue {
 public:
  static constexpr int kMaxNesting = 4;

  void push(EngineEvent event);
  // Runs `handler` for each event that was queued when the call began and may run at this depth.
  // Returns whether it ran any.
  bool dispatch(const std::function<void(const EngineEvent&)>& handler);
  std::size_t size() const { return queue_.size(); }

 private:
  struct Entry {
    std::uint64_t sequence;
    EngineEvent event;
  };
  bool mayRun(EventKind kind) const;

  std::deque<Entry> queue_;
  std::uint64_t nextSequence_ = 0;
  int running_[3] = {0, 0, 0};
};

}  // namespace Brovis::Engine
