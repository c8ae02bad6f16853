// Dispatch of the engine's events: order, coalesced repaints, and bounded nesting when handlers
// process messages again.
#include "browser/engine/event_queue.h"

#include <gtest/gtest.h>

namespace Brovis::Engine {
namespace {

EngineEvent Completed() { return {EventKind::DocumentCompleted, {}}; }
EngineEvent Repaint() { return {EventKind::Invalidated, {}}; }

TEST(EventQueue, RepaintsCoalesceAndOrderIsKept) {
  EventQueue queue;
  queue.push(Repaint());
  queue.push(Completed());
  queue.push(Repaint());
  queue.push({EventKind::NewWindow, u8"x"});
  EXPECT_EQ(queue.size(), 3u);
  std::vector<EventKind> seen;
  EXPECT_TRUE(queue.dispatch([&](const EngineEvent& e) { seen.push_back(e.kind); }));
  EXPECT_EQ(seen, (std::vector<EventKind>{EventKind::Invalidated, EventKind::DocumentCompleted,
                                          EventKind::NewWindow}));
  EXPECT_FALSE(queue.dispatch([&](const EngineEvent&) { FAIL(); }));
}

TEST(EventQueue, EventsQueuedDuringDispatchWaitForTheNextPass) {
  EventQueue queue;
  queue.push(Completed());
  int runs = 0;
  queue.dispatch([&](const EngineEvent&) {
    ++runs;
    queue.push(Completed());  // an animated or self-reloading page
  });
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(queue.size(), 1u);
}

TEST(EventQueue, RepaintNeverNestsAndCompletionsNestBoundedly) {
  EventQueue queue;
  int depth = 0, deepest = 0, repainting = 0, deepestRepaint = 0;
  std::function<void(const EngineEvent&)> handler = [&](const EngineEvent& e) {
    const bool repaint = e.kind == EventKind::Invalidated;
    ++depth;
    deepest = std::max(deepest, depth);
    if (repaint) deepestRepaint = std::max(deepestRepaint, ++repainting);
    // Every handler brings in more work and processes messages again, so a repaint is offered
    // inside every repaint.
    queue.push(Repaint());
    queue.push(Completed());
    queue.dispatch(handler);
    if (repaint) --repainting;
    --depth;
  };
  queue.push(Repaint());
  queue.push(Completed());
  queue.dispatch(handler);
  EXPECT_EQ(deepestRepaint, 1) << "a repaint ran inside another";
  EXPECT_LE(deepest, EventQueue::kMaxNesting + 1);
  // One coalesced repaint and the completions that the deepest levels left for later.
  EXPECT_LE(queue.size(), static_cast<std::size_t>(EventQueue::kMaxNesting) + 1);
  // The repaint offered inside is not lost: it waits for the next pass.
  int repaintsLeft = 0;
  queue.dispatch([&](const EngineEvent& e) { repaintsLeft += e.kind == EventKind::Invalidated; });
  EXPECT_EQ(repaintsLeft, 1);
}

}  // namespace
}  // namespace Brovis::Engine
