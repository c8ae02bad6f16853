#pragma once
// Where things are in the cockpit window: each display in a frame like a cockpit display's, with
// six side buttons on either side of its screen and PWR, SEL and MNU below it; the frames side by
// side, and a status line under them. Also finds what a point of the window is on.
#include <vector>

#include "platform/win32/surface.h"

namespace Cockpit {

enum class BottomButton { Power, Select, Menu };

struct FrameLayout {
  Win32::Rect frame;             // the whole bezel
  Win32::Rect screen;            // the display's surface, at its own size
  Win32::Rect sideButtons[12];   // 0 to 5 down the left, 6 to 11 down the right
  Win32::Rect labels[12];        // inside the screen, beside each side button
  Win32::Rect bottomButtons[3];  // PWR, SEL, MNU in BottomButton order
  Win32::Rect name;              // under the screen, between PWR and SEL: "MFD 1"
};

// What a point of the window is on.
struct Hit {
  enum class Kind { Nothing, SideButton, BottomButton, Screen, Frame };
  Kind kind = Kind::Nothing;
  int display = -1;  // index of the frame, for every kind but Nothing
  int button = -1;   // SideButton: 0 to 11
  BottomButton bottom = BottomButton::Power;
};

class ButtonLayout {
 public:
  static constexpr int kSideButtonWidth = 40;
  static constexpr int kSideButtonHeight = 26;
  static constexpr int kBottomButtonWidth = 46;
  static constexpr int kBottomButtonHeight = 22;
  static constexpr int kGap = 8;           // between a button and the screen, and around
  static constexpr int kBezelTop = 14;     // above the screen
  static constexpr int kBezelBottom = 44;  // the bottom buttons' row
  static constexpr int kStatusHeight = 22;

  // `count` displays of `width` x `height` pixels each, in a window at least `minWidth` wide
  // (the frames are centred in a wider one).
  ButtonLayout(int count, int width, int height, int minWidth = 0);

  int windowWidth() const { return windowWidth_; }
  int windowHeight() const { return windowHeight_; }
  const std::vector<FrameLayout>& frames() const { return frames_; }
  Win32::Rect statusLine() const { return status_; }

  Hit HitTest(int x, int y) const;

 private:
  std::vector<FrameLayout> frames_;
  Win32::Rect status_;
  int windowWidth_ = 0;
  int windowHeight_ = 0;
};

}  // namespace Cockpit
