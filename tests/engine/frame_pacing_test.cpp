// Which frames the redraws ask for: a change's picture, a still page's cheap watch, a pause.
#include "browser/engine/chromium/frames/frame_pacing.h"

#include <gtest/gtest.h>

namespace Brovis::Engine {
namespace {

using Ask = FramePacing::Ask;
using namespace std::chrono_literals;

// A page drawn every 100 ms, whose frames are answered at once.
struct Redraws {
  FramePacing pacing;
  FramePacing::Clock::time_point now = FramePacing::Clock::now();

  // One redraw: what it asked for. Pictures show `same` (nothing new) or something new.
  Ask redraw(bool damage = false, bool same = true) {
    now += 100ms;
    Ask ask = pacing.redrawn(now);
    pacing.asked(ask, now);
    pacing.waited();
    if (ask == Ask::Probe && pacing.probeAnswered(damage) == Ask::Picture) ask = Ask::Picture;
    if (ask == Ask::Picture) pacing.pictureAnswered(pacing.generation(), true, same);
    return ask;
  }
  // Redraws of a still page until it is watched by frames without pictures.
  void settle() {
    for (int i = 0; i < 5; ++i) redraw();
    ASSERT_NE(redraw(), Ask::Picture);
  }
};

TEST(FramePacing, AChangeIsOwedOnePictureAndOneWait) {
  Redraws r;
  r.settle();
  r.pacing.changed();
  EXPECT_TRUE(r.pacing.waitOwed());
  EXPECT_EQ(r.pacing.redrawn(r.now + 100ms), Ask::Picture);
  // The picture did not come: the redraw waited once; the next ones still ask for it.
  r.pacing.waited();
  EXPECT_FALSE(r.pacing.waitOwed());
  EXPECT_TRUE(r.pacing.pictureOwed());
  r.pacing.pictureAnswered(r.pacing.generation() - 1, true, false);
  EXPECT_TRUE(r.pacing.pictureOwed());
  EXPECT_EQ(r.redraw(), Ask::Picture);
  EXPECT_FALSE(r.pacing.pictureOwed());
  // Two pictures showing nothing new, and the page is watched without pictures again.
  EXPECT_EQ(r.redraw(), Ask::Picture);
  EXPECT_NE(r.redraw(), Ask::Picture);
}

TEST(FramePacing, AStillPageIsWatchedCheaplyAndItsOwnChangesAreSeen) {
  Redraws r;
  r.settle();
  int probes = 0, pictures = 0;
  for (int i = 0; i < 20; ++i) {
    const Ask ask = r.redraw();
    probes += ask == Ask::Probe;
    pictures += ask == Ask::Picture;
  }
  EXPECT_EQ(pictures, 0);
  EXPECT_LE(probes, 2000 / FramePacing::kProbeInterval.count() + 1);
  // The page changes on its own: a probe's damage asks for a picture at once, and while the page
  // keeps changing every redraw takes one.
  Ask ask = Ask::Nothing;
  while (ask == Ask::Nothing) ask = r.redraw(true, false);
  EXPECT_EQ(ask, Ask::Picture);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(r.redraw(true, false), Ask::Picture);
}

TEST(FramePacing, TheDamageOfAPictureItselfIsNotTakenForAChange) {
  Redraws r;
  r.settle();
  r.pacing.changed();
  EXPECT_EQ(r.redraw(), Ask::Picture);
  EXPECT_EQ(r.redraw(), Ask::Picture);
  // The first frame after the last picture reports that picture's damage.
  r.now += 100ms;
  EXPECT_EQ(r.pacing.redrawn(r.now), Ask::Probe);
  EXPECT_EQ(r.pacing.probeAnswered(true), Ask::Nothing);
  EXPECT_EQ(r.pacing.probeAnswered(true), Ask::Picture);
}

TEST(FramePacing, TheFirstRedrawAfterAPauseIsOwedAPicture) {
  Redraws r;
  r.settle();
  EXPECT_FALSE(r.pacing.waitOwed());
  r.now += FramePacing::kPauseAfter;
  EXPECT_EQ(r.pacing.redrawn(r.now), Ask::Picture);
  EXPECT_TRUE(r.pacing.waitOwed());
}

}  // namespace
}  // namespace Brovis::Engine
