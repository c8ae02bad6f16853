// The cockpit window with a display object of the test's own, on SDL's offscreen video: what the
// pilot's clicks and keys reach, what the frame draws, and the input box.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "cockpit/window/cockpit_window.h"
#include "cockpit/window/input_box_view.h"
#include "platform/win32/code_page.h"
#include "tests/cockpit_window/window_events.h"
#include "tests/support/fake_display.h"
#include "tests/support/pixels.h"

namespace Cockpit {
namespace {

using BrovisTest::Click;
using BrovisTest::ClickBottom;
using BrovisTest::ClickSide;
using BrovisTest::CountNear;
using BrovisTest::Key;
using BrovisTest::Text;
BrovisTest::FakeRecord& record = BrovisTest::fake;
constexpr Win32::Pixel kFace = BrovisTest::kFakeFace;

class CockpitWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::setenv("SDL_VIDEODRIVER", "offscreen", 1); }

  void SetUp() override {
    Win32::SetAnsiCodePage(Win32::kDefaultAnsiCodePage);
    simulator.emplace(fakeMode.mode(), std::chrono::milliseconds(50));
    window.emplace(*simulator, WindowSettings{2, 160, 120});
  }
  void TearDown() override {
    window.reset();
    simulator.reset();
  }
  // Runs frames until the queued events are handled and `done` holds.
  bool RunUntil(const std::function<bool()>& done) {
    return window->RunUntil(done, std::chrono::milliseconds(5000));
  }
  // Runs frames until the queue is empty and one more frame has drawn the result.
  void Drain() {
    int after = 0;
    RunUntil([&] { return !SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) && ++after > 1; });
  }
  const FrameLayout& frame(int d) const { return window->layout().frames()[d]; }

  BrovisTest::FakeMode fakeMode;
  std::optional<Simulator> simulator;
  std::optional<CockpitWindow> window;
};

TEST_F(CockpitWindowTest, ClicksReachTheDisplayUnderTheButtonWithTheirEventBits) {
  ClickSide(*window, 0, 0);
  ClickSide(*window, 0, 11, SDL_BUTTON_RIGHT);
  ClickSide(*window, 1, 6, SDL_BUTTON_MIDDLE);
  Drain();
  EXPECT_EQ(record.buttons, (std::vector<std::pair<int, int>>{{160, 0}, {160, 11}, {160, 6}}));
  EXPECT_EQ(record.events, (std::vector<int>{1, 2, 4}));
  // Clicks beside a button, or outside every frame, press nothing.
  const Win32::Rect& b = frame(0).sideButtons[3];
  Click(*window, b.right + 1, b.top);
  Click(*window, 1, window->layout().statusLine().top + 1);
  Drain();
  EXPECT_EQ(record.buttons.size(), 3u);
}

TEST_F(CockpitWindowTest, TheLastClickedDisplayHasTheKeyboard) {
  Key(*window, SDL_SCANCODE_PERIOD);
  Drain();
  EXPECT_EQ(window->keyboardDisplay(), 0);
  Click(*window, frame(1).screen.left + 5, frame(1).screen.top + 5);
  Key(*window, SDL_SCANCODE_UP, KMOD_LSHIFT);
  Key(*window, SDL_SCANCODE_LSHIFT);  // alone: nothing
  Key(*window, SDL_SCANCODE_F13);     // no code: nothing
  Key(*window, SDL_SCANCODE_C);
  Drain();
  EXPECT_EQ(window->keyboardDisplay(), 1);
  EXPECT_EQ(record.keys, (std::vector<DWORD>{52, 200, 46}));
  EXPECT_EQ(window->Status().find("keyboard: MFD 2") != std::string::npos, true)
      << window->Status();
  // The frame with the keyboard has the highlighted edge.
  const Win32::Surface shot = window->Screenshot();
  EXPECT_GT(CountNear(shot, frame(1).frame, MfdFrame::kKeyboardEdge, 4), 200);
  EXPECT_EQ(CountNear(shot, frame(0).frame, MfdFrame::kKeyboardEdge, 4), 0);
}

TEST_F(CockpitWindowTest, TheFrameShowsTheDisplayItsLabelsAndTheStatus) {
  Drain();
  const Win32::Surface shot = window->Screenshot();
  ASSERT_EQ(shot.width(), window->layout().windowWidth());
  // The display's own picture fills the middle of each frame ...
  for (int d = 0; d < 2; ++d)
    EXPECT_GT(CountNear(shot, frame(d).screen, kFace, 0), 160 * 120 * 3 / 4) << d;
  // ... with the labels the module gave drawn over it, beside their buttons, and none elsewhere.
  EXPECT_GT(CountNear(shot, frame(0).labels[0], MfdFrame::kLabel), 8);
  EXPECT_GT(CountNear(shot, frame(1).labels[7], MfdFrame::kLabel), 8);
  EXPECT_EQ(CountNear(shot, frame(0).labels[1], MfdFrame::kLabel), 0);
  EXPECT_EQ(CountNear(shot, frame(0).labels[6], MfdFrame::kLabel), 0);
  EXPECT_NE(window->Status().find("refresh 50 ms"), std::string::npos) << window->Status();
  EXPECT_NE(window->Status().find("last Update"), std::string::npos) << window->Status();
}

TEST_F(CockpitWindowTest, MenuShowsTheTableUntilAButtonCloseIt) {
  ClickBottom(*window, 0, BottomButton::Menu);
  Drain();
  ASSERT_TRUE(window->menuShown(0));
  EXPECT_FALSE(window->menuShown(1));
  Win32::Surface shot = window->Screenshot();
  // The display is dimmed under the menu; the selection key is boxed beside button 0.
  EXPECT_LT(CountNear(shot, frame(0).screen, kFace, 0), 100);
  EXPECT_GT(CountNear(shot, frame(0).screen, MfdFrame::kSelectionKey), 10);
  EXPECT_GT(CountNear(shot, frame(0).screen, MfdFrame::kMenuText), 10);
  // A side button only closes it: the display gets no press.
  ClickSide(*window, 0, 2);
  Drain();
  EXPECT_FALSE(window->menuShown(0));
  EXPECT_TRUE(record.buttons.empty());
  ClickBottom(*window, 0, BottomButton::Menu);
  ClickBottom(*window, 0, BottomButton::Menu);
  Drain();
  EXPECT_FALSE(window->menuShown(0));
  shot = window->Screenshot();
  EXPECT_EQ(CountNear(shot, frame(0).screen, MfdFrame::kSelectionKey), 0);
}

TEST_F(CockpitWindowTest, PowerAndSelectLeaveTheModeAndComeBack) {
  Drain();
  EXPECT_EQ(record.alive, 2);
  ClickBottom(*window, 0, BottomButton::Power);
  Drain();
  EXPECT_EQ(record.alive, 1);
  EXPECT_EQ(window->screen(0), FrameContent::Screen::Off);
  EXPECT_EQ(CountNear(window->Screenshot(), frame(0).screen, 0xFF000000, 0),
            frame(0).screen.width() * frame(0).screen.height());
  ClickSide(*window, 0, 0);  // a dark display has no buttons
  ClickBottom(*window, 0, BottomButton::Power);
  Drain();
  EXPECT_TRUE(record.buttons.empty());
  EXPECT_EQ(record.alive, 2);
  EXPECT_EQ(window->screen(0), FrameContent::Screen::Mode);

  // SEL: the list of modes; SEL again, a button beside a mode or the mode's key picks it.
  ClickBottom(*window, 1, BottomButton::Select);
  Drain();
  EXPECT_EQ(record.alive, 1);
  EXPECT_EQ(window->screen(1), FrameContent::Screen::ModeList);
  EXPECT_GT(CountNear(window->Screenshot(), frame(1).screen, MfdFrame::kLabel), 10);
  ClickBottom(*window, 1, BottomButton::Select);
  Drain();
  EXPECT_EQ(window->screen(1), FrameContent::Screen::Mode);
  ClickBottom(*window, 1, BottomButton::Select);
  ClickSide(*window, 1, 0);
  Drain();
  EXPECT_EQ(window->screen(1), FrameContent::Screen::Mode);
  ClickBottom(*window, 1, BottomButton::Select);
  Key(*window, SDL_SCANCODE_I);
  Drain();
  EXPECT_EQ(window->screen(1), FrameContent::Screen::Mode);
  EXPECT_EQ(record.alive, 2);
  EXPECT_TRUE(record.buttons.empty());
  EXPECT_TRUE(record.keys.empty());
}

TEST_F(CockpitWindowTest, TheInputBoxEditsAndConfirmsInTheHostsCodePage) {
  ClickSide(*window, 0, 5);
  Text(*window, "caf");
  Key(*window, SDL_SCANCODE_LEFT);
  Key(*window, SDL_SCANCODE_BACKSPACE);
  Text(*window, "xé");  // "cxéf"
  Key(*window, SDL_SCANCODE_HOME);
  Key(*window, SDL_SCANCODE_DELETE);  // "xéf"
  Key(*window, SDL_SCANCODE_END);
  SDL_SetClipboardText(" ok\n");
  Key(*window, SDL_SCANCODE_V, KMOD_LCTRL);
  ASSERT_TRUE(RunUntil([&] { return window->inputBoxShown(); }));
  Drain();
  // The box is modal: the displays get neither clicks nor keys meanwhile.
  ClickSide(*window, 1, 0);
  Key(*window, SDL_SCANCODE_PERIOD);
  Drain();
  EXPECT_EQ(record.buttons.size(), 1u);
  EXPECT_TRUE(record.keys.empty());
  const Win32::Surface shot = window->Screenshot();
  const auto place = InputBoxView::Place(shot.width(), shot.height(), 60);
  EXPECT_EQ(place.visibleLength, 60) << "the window is wide enough for the module's box";
  EXPECT_GT(CountNear(shot, place.field, InputBoxView::kCaret, 4), 10);
  EXPECT_GT(CountNear(shot, place.title, InputBoxView::kText, 40), 10);

  Key(*window, SDL_SCANCODE_RETURN);
  ASSERT_TRUE(RunUntil([&] { return !window->inputBoxShown(); }));
  EXPECT_EQ(record.typed, std::vector<std::string>{"x\xE9"
                                                   "f ok "});
}

TEST_F(CockpitWindowTest, EscapeCancelsAndARefusedTextKeepsTheBoxOpen) {
  ClickSide(*window, 0, 5);
  Text(*window, "nope");
  Key(*window, SDL_SCANCODE_ESCAPE);
  Drain();
  EXPECT_FALSE(window->inputBoxShown());
  EXPECT_FALSE(OrbiterHost::OpenInputBox());
  EXPECT_TRUE(record.typed.empty());

  record.refuse = true;
  ClickSide(*window, 0, 5);
  Text(*window, "again");
  Key(*window, SDL_SCANCODE_RETURN);
  Drain();
  EXPECT_EQ(record.typed, std::vector<std::string>{"again"});
  EXPECT_TRUE(window->inputBoxShown());
  record.refuse = false;
  Text(*window, "!");
  Key(*window, SDL_SCANCODE_KP_ENTER);
  Drain();
  EXPECT_EQ(record.typed, (std::vector<std::string>{"again", "again!"}));
  EXPECT_FALSE(window->inputBoxShown());
}

TEST_F(CockpitWindowTest, ClosingTheWindowDestroysTheDisplaysAndAnOpenBox) {
  ClickSide(*window, 0, 5);
  ASSERT_TRUE(RunUntil([&] { return window->inputBoxShown(); }));
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  window->Run();
  EXPECT_TRUE(window->closed());
  window.reset();
  EXPECT_EQ(record.alive, 0);
  EXPECT_FALSE(OrbiterHost::OpenInputBox());
}

}  // namespace
}  // namespace Cockpit
