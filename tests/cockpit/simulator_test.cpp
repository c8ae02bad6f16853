// The simulator's side of a display, as a mode meets it: the messages that open and close it,
// when it is redrawn, what it is drawn over, and the base calls it may not make too early.
#include "cockpit/simulator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_display.h"

namespace Cockpit {
namespace {

using Seen = std::vector<std::string>;
BrovisTest::FakeRecord& record = BrovisTest::fake;

class SimulatorTest : public ::testing::Test {
 protected:
  BrovisTest::FakeMode fakeMode;
  Simulator simulator{fakeMode.mode(), std::chrono::milliseconds(100)};
};

TEST_F(SimulatorTest, OpensWithTheExtendedMessageFirstAndTellsTheModeBeforeDestroying) {
  simulator.Open(3, 250, 200);
  EXPECT_EQ(record.seen, (Seen{"4 mfd 3 250x200 Fake context",
                               "1 mfd 3 wparam " + std::to_string(250 | 200 << 16) + " vessel"}));
  record.seen.clear();
  simulator.Close(3);
  EXPECT_EQ(record.seen, (Seen{"2 mfd 3", "destroyed"}));

  // A display made on the extended message is the display: no plain message follows.
  record.seen.clear();
  record.openExtended = true;
  simulator.Open(1, 64, 32);
  EXPECT_EQ(record.seen, Seen{"4 mfd 1 64x32 Fake context"});
  record.seen.clear();
  simulator.CloseAll();
  EXPECT_EQ(record.seen, (Seen{"2 mfd 1", "destroyed"}));
}

TEST_F(SimulatorTest, RedrawsAtTheRefreshAndAtOnceWhenInvalidated) {
  simulator.Open(1, 16, 16);
  simulator.Run(std::chrono::milliseconds(1000));
  EXPECT_GE(record.updates, 1);
  EXPECT_LE(record.updates, 11) << "no more often than every 100 ms";

  Simulator slow(fakeMode.mode(), std::chrono::milliseconds(10000));
  slow.Open(1, 16, 16);
  record.updates = 0;
  slow.Frame();
  slow.Frame();
  EXPECT_EQ(record.updates, 1) << "due at once, then not for ten seconds";
  // A display that asks again in every Update is redrawn on every frame, until it stops asking.
  record.invalidating = true;
  slow.Find(1)->mfd().ConsumeKeyBuffered(200);
  for (int frame = 0; frame < 3; ++frame) slow.Frame();
  EXPECT_EQ(record.updates, 4);
  record.invalidating = false;
  slow.Frame();
  slow.Frame();
  EXPECT_EQ(record.updates, 5);
}

TEST_F(SimulatorTest, EveryRedrawStartsFromBlack) {
  simulator.Open(1, 200, 120);
  Display& display = *simulator.Find(1);
  display.Redraw(Clock::now());
  record.titleOnly = true;
  display.Redraw(Clock::now());
  // The title on black; nothing is left of the first redraw.
  int face = 0;
  int black = 0;
  for (Win32::Pixel p : display.surface().pixels()) {
    face += p == BrovisTest::kFakeFace;
    black += p == 0xFF000000;
  }
  EXPECT_EQ(face, 0);
  EXPECT_GT(black, 200 * 120 * 3 / 4);
}

TEST_F(SimulatorTest, RefusesBaseCallsFromADisplaysConstructor) {
  record.earlyRequest = true;
  EXPECT_DEATH(simulator.Open(1, 16, 16), "InvalidateDisplay .*constructor");
}

}  // namespace
}  // namespace Cockpit
