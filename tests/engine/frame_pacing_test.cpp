// Which frames the redraws ask for: a change's picture for every size, a still page's cheap
// watch, a pause.
#include "browser/engine/chromium/frames/frame_pacing.h"

#include <gtest/gtest.h>

namespace Brovis::Engine {
namespace {

using Ask = FramePacing::Ask;
using namespace std::chrono_literals;

constexpr ViewSize kSmall{256, 256};
constexpr ViewSize kLarge{512, 400};

// Displays drawn every 100 ms, whose frames are answered at once.
struct Redraws {
  FramePacing pacing;
  FramePacing::Clock::time_point now = FramePacing::Clock::now();

  // One redraw of `size`: what it asked for. Pictures show `same` (nothing new) or something new.
  Ask redraw(ViewSize size = kSmall, bool damage = false, bool same = true) {
    now += 100ms;
    Ask ask = pacing.noteRedraw(size, now);
    pacing.asked(ask, now);
    pacing.waited(size);
    if (ask == Ask::Probe && pacing.probeAnswered(damage) == Ask::Picture) ask = Ask::Picture;
    if (ask == Ask::Picture) pacing.pictureArrived(size, pacing.generation(), same);
    return ask;
  }
  // Redraws of a still page until it is watched by frames without pictures.
  void settle(ViewSize size = kSmall) {
    for (int i = 0; i < 5; ++i) redraw(size);
    ASSERT_NE(redraw(size), Ask::Picture);
  }
};

TEST(FramePacing, AChangeIsOwedOnePictureAndOneWait) {
  Redraws r;
  r.settle();
  r.pacing.changed();
  EXPECT_TRUE(r.pacing.waitOwed(kSmall));
  EXPECT_EQ(r.pacing.noteRedraw(kSmall, r.now + 100ms), Ask::Picture);
  // The picture did not come: the redraw waited once; the next ones still ask for it.
  r.pacing.waited(kSmall);
  EXPECT_FALSE(r.pacing.waitOwed(kSmall));
  EXPECT_TRUE(r.pacing.pictureOwed(kSmall));
  r.pacing.pictureArrived(kSmall, r.pacing.generation() - 1, false);
  EXPECT_TRUE(r.pacing.pictureOwed(kSmall));
  EXPECT_EQ(r.redraw(), Ask::Picture);
  EXPECT_FALSE(r.pacing.pictureOwed(kSmall));
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
  while (ask == Ask::Nothing) ask = r.redraw(kSmall, true, false);
  EXPECT_EQ(ask, Ask::Picture);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(r.redraw(kSmall, true, false), Ask::Picture);
}

TEST(FramePacing, TheDamageOfAPictureItselfIsNotTakenForAChange) {
  Redraws r;
  r.settle();
  r.pacing.changed();
  EXPECT_EQ(r.redraw(), Ask::Picture);
  EXPECT_EQ(r.redraw(), Ask::Picture);
  // The first frame after the last picture reports that picture's damage.
  r.now += 100ms;
  EXPECT_EQ(r.pacing.noteRedraw(kSmall, r.now), Ask::Probe);
  EXPECT_EQ(r.pacing.probeAnswered(true), Ask::Nothing);
  EXPECT_EQ(r.pacing.probeAnswered(true), Ask::Picture);
}

TEST(FramePacing, TheFirstRedrawAfterAPauseIsOwedAPicture) {
  Redraws r;
  r.settle();
  EXPECT_FALSE(r.pacing.waitOwed(kSmall));
  r.now += FramePacing::kPauseAfter;
  EXPECT_EQ(r.pacing.noteRedraw(kSmall, r.now), Ask::Picture);
  EXPECT_TRUE(r.pacing.waitOwed(kSmall));
}

TEST(FramePacing, EachSizeIsOwedItsOwnPicture) {
  Redraws r;
  r.settle(kSmall);
  // A size drawn for the first time waits for a picture of its own, and the other keeps its own.
  EXPECT_TRUE(r.pacing.pictureOwed(kLarge));
  EXPECT_TRUE(r.pacing.waitOwed(kLarge));
  EXPECT_EQ(r.redraw(kLarge), Ask::Picture);
  EXPECT_FALSE(r.pacing.pictureOwed(kSmall));
  EXPECT_TRUE(r.pacing.otherSizeDrawn(kLarge, r.now));
  // A change owes both a picture, and a picture of one does not pay the other's.
  for (int i = 0; i < 4; ++i) r.redraw(i % 2 ? kLarge : kSmall);
  r.pacing.changed();
  EXPECT_TRUE(r.pacing.waitOwed(kSmall) && r.pacing.waitOwed(kLarge));
  EXPECT_EQ(r.redraw(kSmall), Ask::Picture);
  EXPECT_FALSE(r.pacing.pictureOwed(kSmall));
  EXPECT_TRUE(r.pacing.pictureOwed(kLarge));
  EXPECT_EQ(r.redraw(kLarge), Ask::Picture);
  EXPECT_FALSE(r.pacing.pictureOwed(kLarge));
  // Drawn in turn, a still page settles at both sizes and then costs no pictures at either.
  int pictures = 0;
  for (int i = 0; i < 20; ++i) pictures += r.redraw(i % 2 ? kLarge : kSmall) == Ask::Picture;
  EXPECT_LE(pictures, 4);
  for (int i = 0; i < 10; ++i) EXPECT_NE(r.redraw(i % 2 ? kLarge : kSmall), Ask::Picture);
  // Once the other size is no longer drawn, one size is drawn alone.
  r.now += FramePacing::kPauseAfter;
  EXPECT_FALSE(r.pacing.otherSizeDrawn(kSmall, r.now));
}

}  // namespace
}  // namespace Brovis::Engine
