// The simulator's side of a display, as a mode meets it: the messages that open and close it,
// when it is redrawn, what it is drawn over, and the base calls it may not make too early.
#include "cockpit/simulator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Cockpit {
namespace {

constexpr Win32::Pixel kBlack = 0xFF000000;
constexpr Win32::Pixel kWhite = 0xFFFFFFFF;

struct Record {
  std::vector<std::string> seen;  // messages and the display's destruction, in order
  int updates = 0;
  bool invalidateInUpdate = false;
  bool invalidateInConstructor = false;
  bool answerExtended = false;  // makes the display on the extended opening message
};
Record record;
int context;

// Draws white on its first redraw; after that the title and the bottom half only.
class ProbeDisplay : public MFD {
 public:
  ProbeDisplay(DWORD w, DWORD h, VESSEL* v) : MFD(w, h, v) {
    if (record.invalidateInConstructor) InvalidateDisplay();
  }
  ~ProbeDisplay() override { record.seen.push_back("destroyed"); }
  void Update(HDC hdc) override {
    Win32::Surface& s = *Win32::SurfaceOf(hdc);
    const auto half = s.pixels().begin() + s.pixels().size() / 2;
    std::fill(++record.updates == 1 ? s.pixels().begin() : half, s.pixels().end(), kWhite);
    Title(hdc, "Probe");
    if (record.invalidateInUpdate) InvalidateDisplay();
  }
};

OAPI_MSGTYPE ProbeMsgProc(UINT msg, UINT mfd, WPARAM wparam, LPARAM lparam) {
  std::string seen = std::to_string(msg) + " mfd " + std::to_string(mfd);
  if (msg == OAPI_MSG_MFD_OPENEDEX) {
    const auto& open = *reinterpret_cast<const MFDMODEOPENSPEC*>(wparam);
    seen += " " + std::to_string(open.w) + "x" + std::to_string(open.h) + " " + open.spec->name +
            (open.spec->context == &context ? " context" : " no context");
    record.seen.push_back(seen);
    if (!record.answerExtended) return 0;
    return reinterpret_cast<OAPI_MSGTYPE>(
        std::make_unique<ProbeDisplay>(open.w, open.h, reinterpret_cast<VESSEL*>(lparam))
            .release());
  }
  if (msg != OAPI_MSG_MFD_OPENED) {
    record.seen.push_back(seen);
    return 0;
  }
  record.seen.push_back(seen + " wparam " + std::to_string(wparam) + (lparam ? " vessel" : ""));
  return reinterpret_cast<OAPI_MSGTYPE>(
      std::make_unique<ProbeDisplay>(wparam & 0xFFFF, wparam >> 16,
                                     reinterpret_cast<VESSEL*>(lparam))
          .release());
}

char kModeName[] = "Probe";

class SimulatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    record = {};
    MFDMODESPECEX spec{kModeName, 0x20, &context, ProbeMsgProc};
    modeId = oapiRegisterMFDMode(spec);
  }
  void TearDown() override { oapiUnregisterMFDMode(modeId); }
  Simulator Open(std::chrono::milliseconds refresh) {
    return Simulator(*OrbiterHost::FindMode(kModeName), refresh);
  }
  int modeId = 0;
};

TEST_F(SimulatorTest, OpensWithTheExtendedMessageFirstAndTellsTheModeBeforeDestroying) {
  {
    Simulator simulator = Open(std::chrono::milliseconds(100));
    simulator.Open(3, 250, 200);
    EXPECT_EQ(record.seen, (std::vector<std::string>{
                               "4 mfd 3 250x200 Probe context",
                               "1 mfd 3 wparam " + std::to_string(250 | 200 << 16) + " vessel"}));
    record.seen.clear();
    simulator.Close(3);
    EXPECT_EQ(record.seen, (std::vector<std::string>{"2 mfd 3", "destroyed"}));

    // A display made on the extended message is the display: no plain message follows.
    record = {};
    record.answerExtended = true;
    simulator.Open(1, 64, 32);
    EXPECT_EQ(record.seen, std::vector<std::string>{"4 mfd 1 64x32 Probe context"});
    record.seen.clear();
  }
  EXPECT_EQ(record.seen, (std::vector<std::string>{"2 mfd 1", "destroyed"}));
}

TEST_F(SimulatorTest, RedrawsAtTheRefreshAndAtOnceWhenInvalidated) {
  Simulator simulator = Open(std::chrono::milliseconds(100));
  simulator.Open(1, 16, 16);
  simulator.Run(std::chrono::milliseconds(1000));
  EXPECT_GE(record.updates, 3);
  EXPECT_LE(record.updates, 11) << "no more often than every 100 ms";

  record = {};
  record.invalidateInUpdate = true;
  simulator.Run(std::chrono::milliseconds(500));
  EXPECT_GT(record.updates, 6) << "an invalidated display is redrawn on the next frame";

  Simulator slow = Open(std::chrono::milliseconds(10000));
  slow.Open(1, 16, 16);
  record = {};
  slow.Frame();
  slow.Frame();
  EXPECT_EQ(record.updates, 1);
  slow.Find(1)->mfd().InvalidateDisplay();
  slow.Frame();
  EXPECT_EQ(record.updates, 2);
}

TEST_F(SimulatorTest, EveryRedrawStartsFromBlack) {
  Simulator simulator = Open(std::chrono::milliseconds(100));
  simulator.Open(1, 200, 120);
  Display& display = *simulator.Find(1);
  display.Redraw(Clock::now());
  display.Redraw(Clock::now());
  // The top half holds the title on black; nothing is left of the first redraw's white.
  int white = 0;
  int black = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) {
      white += display.surface().at(x, y) == kWhite;
      black += display.surface().at(x, y) == kBlack;
    }
  EXPECT_EQ(white, 0);
  EXPECT_GT(black, 200 * 60 / 2);
}

TEST_F(SimulatorTest, RefusesBaseCallsFromADisplaysConstructor) {
  Simulator simulator = Open(std::chrono::milliseconds(100));
  record.invalidateInConstructor = true;
  EXPECT_DEATH(simulator.Open(1, 16, 16), "InvalidateDisplay .*constructor");
}

}  // namespace
}  // namespace Cockpit
