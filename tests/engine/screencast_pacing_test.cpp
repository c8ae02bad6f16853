// When the screencast runs: one picture per redraw of a page that repaints faster than that, none
// while nobody draws, and every picture a change waits for.
#include "browser/engine/chromium/screencast_pacing.h"

#include <gtest/gtest.h>

namespace Brovis::Engine {
namespace {

using namespace std::chrono_literals;
using Step = ScreencastPacing::Step;

class PacingTest : public ::testing::Test {
 protected:
  PacingTest() { pacing.started(now); }
  // Frames of a page that repaints, one every 16 ms from now.
  Step repaints(int count, bool forChange = false) {
    Step last = Step::None;
    for (int i = 0; i < count; ++i) {
      now += 16ms;
      last = pacing.frameArrived(now, forChange);
    }
    return last;
  }
  Step redraw() {
    now += 50ms;
    return pacing.redrawn(now);
  }

  ScreencastPacing pacing;
  ScreencastPacing::Clock::time_point now = ScreencastPacing::Clock::time_point{} + 1h;
};

TEST_F(PacingTest, ARepaintingPageGetsOnePicturePerRedrawAndIsWatchedAgainOnceQuiet) {
  // One repaint between redraws: a page at the displays' pace.
  EXPECT_EQ(repaints(1), Step::None);
  EXPECT_EQ(redraw(), Step::None);
  EXPECT_FALSE(pacing.paced());
  // Two repaints between redraws: the screencast stops at the next frame.
  EXPECT_EQ(repaints(2), Step::None);
  EXPECT_EQ(redraw(), Step::None);
  EXPECT_TRUE(pacing.paced());
  EXPECT_EQ(repaints(1), Step::Stop);
  // From now on a redraw starts it for its first frame; most runs stop there, every few run on
  // to the page's next repaint.
  int probes = 0;
  for (std::uint64_t i = 0; i < 2 * ScreencastPacing::kProbeEvery; ++i) {
    const Step start = redraw();
    ASSERT_NE(start, Step::None);
    EXPECT_FALSE(pacing.behind(now));
    if (start == Step::Start) {
      ++probes;
      EXPECT_EQ(repaints(1), Step::None);
    }
    EXPECT_EQ(repaints(1), Step::Stop);
    EXPECT_EQ(repaints(1), Step::None);  // sent before the stop reached the browser
  }
  EXPECT_EQ(probes, 2);
  // A probe that sees no repaint before the next redraw: the page is watched, running.
  while (redraw() != Step::Start) repaints(1);
  EXPECT_EQ(repaints(1), Step::None);
  EXPECT_EQ(redraw(), Step::None);
  EXPECT_FALSE(pacing.paced());
  EXPECT_TRUE(pacing.running());
}

TEST_F(PacingTest, NobodyDrawingStopsItAndTheNextRedrawStartsItBehind) {
  EXPECT_EQ(repaints(1), Step::None);
  now += ScreencastPacing::kIdleAfter;
  EXPECT_EQ(repaints(1), Step::Stop);
  EXPECT_TRUE(pacing.behind(now));
  EXPECT_EQ(redraw(), Step::Start);
  EXPECT_FALSE(pacing.behind(now));
  EXPECT_TRUE(pacing.startFramePending(now));
  // A first frame that never comes is not waited for, and the screencast is started again.
  now += ScreencastPacing::kFirstFrameLimit;
  EXPECT_FALSE(pacing.startFramePending(now));
  EXPECT_EQ(pacing.changed(now), Step::Start);

  // A paced page that nobody drew for a while has moved on from its picture too.
  repaints(3);
  redraw();
  EXPECT_EQ(repaints(1), Step::Stop);
  EXPECT_FALSE(pacing.behind(now));
  EXPECT_TRUE(pacing.behind(now + ScreencastPacing::kIdleAfter));
}

TEST_F(PacingTest, AChangeStartsItAndKeepsItRunningUntilItsPictureCame) {
  repaints(3);
  redraw();
  ASSERT_EQ(repaints(1), Step::Stop);
  // Started for every frame the change may need, not just the first.
  EXPECT_EQ(pacing.changed(now), Step::Start);
  EXPECT_EQ(pacing.changed(now), Step::None);
  // Its frames never stop it, with nobody drawing either; once its picture is in, the next does.
  now += ScreencastPacing::kIdleAfter;
  EXPECT_EQ(repaints(3, true), Step::None);
  EXPECT_EQ(repaints(1), Step::Stop);
}

}  // namespace
}  // namespace Brovis::Engine
