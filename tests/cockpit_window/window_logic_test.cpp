// The window's logic that stands alone: the keyboard's scan codes, where a click lands in the
// frame, what a display slot shows, the input box's editing, and the module's texts coming back
// from the host's code page.
#include <SDL_keyboard.h>
#include <gtest/gtest.h>

#include <set>

#include "cockpit/host_code_page_text.h"
#include "cockpit/window/button_layout.h"
#include "cockpit/window/display_slot.h"
#include "cockpit/window/sdl_keys.h"
#include "cockpit/window/text_field.h"
#include "platform/text/utf8.h"
#include "platform/win32/code_page.h"
#include "tests/support/fake_display.h"

namespace Cockpit {
namespace {

TEST(ScanCodes, TheModulesKeysHaveTheirDirectInputCodes) {
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_U), 22u);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_I), 23u);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_A), 30u);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_F), 33u);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_C), 46u);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_B), 48u);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_COMMA), 51u);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_PERIOD), 52u);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_UP), 200u);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_LEFT), 203u);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_RIGHT), 205u);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_DOWN), 208u);
}

TEST(ScanCodes, RowsOfTheKeyboardCountUpAndNoTwoKeysShareACode) {
  const SDL_Scancode digits[] = {SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3, SDL_SCANCODE_4,
                                 SDL_SCANCODE_5, SDL_SCANCODE_6, SDL_SCANCODE_7, SDL_SCANCODE_8,
                                 SDL_SCANCODE_9, SDL_SCANCODE_0};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(DirectInputScanCode(digits[i]), DWORD(2 + i)) << i;
  const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  const DWORD starts[] = {16, 30, 44};
  for (int r = 0; r < 3; ++r)
    for (int i = 0; rows[r][i]; ++i)
      EXPECT_EQ(DirectInputScanCode(SDL_GetScancodeFromName(std::string(1, rows[r][i]).c_str())),
                starts[r] + i)
          << rows[r][i];
  std::set<DWORD> seen;
  int mapped = 0;
  for (int s = 0; s < SDL_NUM_SCANCODES; ++s)
    if (const auto code = DirectInputScanCode(static_cast<SDL_Scancode>(s))) {
      ++mapped;
      EXPECT_TRUE(seen.insert(*code).second) << "code " << *code << " twice";
    }
  EXPECT_GE(mapped, 100);
  EXPECT_FALSE(DirectInputScanCode(SDL_SCANCODE_UNKNOWN));
  EXPECT_EQ(KeyName(23), "I");
  EXPECT_EQ(KeyName(200), "Up");
  EXPECT_EQ(KeyName(0), "");
  EXPECT_TRUE(IsModifierKey(SDL_SCANCODE_LSHIFT));
  EXPECT_FALSE(IsModifierKey(SDL_SCANCODE_UP));
}

TEST(ButtonLayout, EveryButtonIsFoundWhereItIsDrawnAndNowhereElse) {
  const ButtonLayout layout(2, 320, 240, 900);
  ASSERT_EQ(layout.frames().size(), 2u);
  EXPECT_EQ(layout.windowWidth(), 900);
  for (int d = 0; d < 2; ++d) {
    const FrameLayout& f = layout.frames()[d];
    EXPECT_EQ(f.screen.width(), 320);
    EXPECT_EQ(f.screen.height(), 240);
    for (int b = 0; b < 12; ++b) {
      const Win32::Rect& r = f.sideButtons[b];
      const Hit hit = layout.HitTest((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      EXPECT_EQ(hit.kind, Hit::Kind::SideButton);
      EXPECT_EQ(hit.display, d);
      EXPECT_EQ(hit.button, b);
      // Left column 0 to 5 top to bottom, right column 6 to 11, rows level across.
      EXPECT_EQ(r.right <= f.screen.left, b < 6) << b;
      if (b % 6) {
        EXPECT_GT(r.top, f.sideButtons[b - 1].bottom) << b;
      }
      if (b >= 6) {
        EXPECT_EQ(r.top, f.sideButtons[b - 6].top) << b;
      }
      // Its label is inside the screen, level with it.
      EXPECT_TRUE(f.labels[b].left >= f.screen.left && f.labels[b].right <= f.screen.right);
      EXPECT_LE(std::abs((f.labels[b].top + f.labels[b].bottom) - (r.top + r.bottom)), 2);
    }
    for (int b = 0; b < 3; ++b) {
      const Win32::Rect& r = f.bottomButtons[b];
      const Hit hit = layout.HitTest(r.left + 1, r.bottom - 1);
      EXPECT_EQ(hit.kind, Hit::Kind::BottomButton);
      EXPECT_EQ(static_cast<int>(hit.bottom), b);
      EXPECT_GE(r.top, f.screen.bottom);
    }
    const Hit screen = layout.HitTest(f.screen.left, f.screen.top);
    EXPECT_EQ(screen.kind, Hit::Kind::Screen);
    EXPECT_EQ(screen.display, d);
    EXPECT_EQ(layout.HitTest(f.sideButtons[0].left - 1, f.sideButtons[0].top).kind,
              Hit::Kind::Frame);
  }
  // Side by side, centred in the wider window, with the status line below.
  EXPECT_EQ(layout.frames()[0].frame.right, layout.frames()[1].frame.left);
  EXPECT_EQ(layout.frames()[0].frame.left, 900 - layout.frames()[1].frame.right);
  EXPECT_EQ(layout.HitTest(2, 2).kind, Hit::Kind::Nothing);
  EXPECT_EQ(layout.HitTest(450, layout.statusLine().top + 2).kind, Hit::Kind::Nothing);
  EXPECT_EQ(layout.windowHeight(), layout.statusLine().bottom);
}

TEST(ButtonLayout, SixButtonsStaySeparateOnASmallDisplay) {
  const ButtonLayout layout(1, 64, 48);
  const FrameLayout& f = layout.frames()[0];
  for (int b = 1; b < 6; ++b) EXPECT_GT(f.sideButtons[b].top, f.sideButtons[b - 1].bottom - 1);
  EXPECT_FALSE(f.sideButtons[5].empty());
}

TEST(DisplaySlot, PowerSelectAndMenuSwitchWhatItShows) {
  using Screen = DisplaySlot::Screen;
  const BrovisTest::FakeMode fakeMode;
  const BrovisTest::FakeRecord& fake = BrovisTest::fake;
  Simulator simulator(fakeMode.mode(), std::chrono::milliseconds(100));
  DisplaySlot slot(simulator, 2, 40, 30);
  ASSERT_NE(slot.display(), nullptr);
  // A side button only closes the menu.
  slot.Menu();
  EXPECT_TRUE(slot.menuShown());
  slot.PressSide(3, 1);
  EXPECT_FALSE(slot.menuShown());
  EXPECT_TRUE(fake.buttons.empty());
  slot.PressSide(3, 1);
  slot.PressKey(52);
  // PWR: off, the display gone, nothing reaches it; PWR again: on in the mode.
  slot.Menu();
  slot.Power();
  EXPECT_EQ(slot.screen(), Screen::Off);
  EXPECT_FALSE(slot.menuShown());
  EXPECT_EQ(slot.display(), nullptr);
  EXPECT_EQ(fake.alive, 0);
  slot.Menu();
  slot.PressSide(0, 1);
  slot.PressKey(52);
  EXPECT_FALSE(slot.menuShown());
  slot.Power();
  EXPECT_EQ(slot.screen(), Screen::Mode);
  // SEL: the list of modes, where a left press beside a mode, the mode's key or SEL picks it.
  slot.Select();
  EXPECT_EQ(slot.screen(), Screen::ModeList);
  EXPECT_EQ(fake.alive, 0);
  slot.PressSide(0, 2);
  slot.PressSide(11, 1);
  slot.PressKey(52);
  EXPECT_EQ(slot.screen(), Screen::ModeList);
  slot.PressSide(0, 1);
  EXPECT_EQ(slot.screen(), Screen::Mode);
  slot.Select();
  slot.PressKey(BrovisTest::FakeMode::kKey);
  EXPECT_EQ(slot.screen(), Screen::Mode);
  slot.Select();
  slot.Select();
  EXPECT_EQ(slot.screen(), Screen::Mode);
  EXPECT_EQ(fake.alive, 1);
  EXPECT_EQ(fake.buttons.size(), 1u);
  EXPECT_EQ(fake.keys, std::vector<DWORD>{52});
}

TEST(TextField, EditsAtTheCaretInCharactersNotBytes) {
  TextField field("héllo");
  EXPECT_EQ(field.Caret(), 5u);
  field.Left();
  field.Left();
  field.Insert("✓");
  EXPECT_EQ(field.Text(), "hél✓lo");
  field.Home();
  field.Delete();
  field.Right();
  field.Backspace();
  EXPECT_EQ(field.Text(), "l✓lo");
  field.End();
  field.Backspace();
  field.Right();  // at the end already
  EXPECT_EQ(field.Text(), "l✓l");
  EXPECT_EQ(field.Caret(), 3u);
  field.Home();
  field.Backspace();  // at the start already
  field.Left();
  EXPECT_EQ(field.Caret(), 0u);
  EXPECT_EQ(field.Text(), "l✓l");
}

TEST(TextField, PastedTextStaysOneLineAndBadBytesAreDropped) {
  TextField field;
  field.Insert("a\r\nb\tc\nd");
  EXPECT_EQ(field.Text(), "a b c d");
  field.Insert("x\xFFy\xC3");
  EXPECT_EQ(field.Text(), "a b c dxy");
  EXPECT_EQ(Text::DecodeUtf8("\xC0\xAF"), U"");  // an overlong slash
  EXPECT_EQ(Text::EncodeUtf8(Text::DecodeUtf8("😀ж")), "😀ж");
}

TEST(TextField, TheVisiblePartFollowsTheCaret) {
  TextField field("abcdefghij");
  // The caret after the last character keeps a column of its own.
  TextField::View view = field.Visible(4);
  EXPECT_EQ(view.text, "hij");
  EXPECT_EQ(view.caretColumn, 3u);
  field.Home();
  view = field.Visible(4);
  EXPECT_EQ(view.text, "abcd");
  EXPECT_EQ(view.caretColumn, 0u);
  for (int i = 0; i < 5; ++i) field.Right();
  view = field.Visible(4);
  EXPECT_EQ(view.text, "cdef");
  EXPECT_EQ(view.caretColumn, 3u);
  // Moving back inside the shown part does not scroll.
  field.Left();
  EXPECT_EQ(field.Visible(4).text, "cdef");
  // Deleting at the end brings hidden text back in.
  field.End();
  for (int i = 0; i < 6; ++i) field.Backspace();
  view = field.Visible(4);
  EXPECT_EQ(view.text, "bcd");
  EXPECT_EQ(view.caretColumn, 3u);
  EXPECT_EQ(TextField("short").Visible(60).text, "short");
}

TEST(HostCodePage, TheModulesTextsComeBackAsUtf8) {
  Win32::SetAnsiCodePage(1252);
  EXPECT_EQ(FromHostCodePage("caf\xE9 \x80"), "café €");
  EXPECT_EQ(ToHostCodePage(FromHostCodePage("caf\xE9")), "caf\xE9");
  Win32::SetAnsiCodePage(1251);
  EXPECT_EQ(FromHostCodePage("\xE6\xF3\xEA"), "жук");
  // 0x98 is the one byte Windows-1251 leaves undefined.
  EXPECT_EQ(FromHostCodePage("a\x98z"), "a\xEF\xBF\xBDz");
  Win32::SetAnsiCodePage(Win32::kDefaultAnsiCodePage);
}

}  // namespace
}  // namespace Cockpit
