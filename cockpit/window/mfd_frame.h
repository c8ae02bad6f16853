#pragma once
// Draws one cockpit display in its frame: the bezel, the twelve side buttons and PWR, SEL and MNU,
// the display's surface in the middle with the mode's button labels beside the buttons, and over
// it the mode's button menu or the list of modes when the pilot asked for them.
#include <optional>
#include <string>
#include <vector>

#include "cockpit/window/button_layout.h"
#include "cockpit/window/display_slot.h"
#include "cockpit/window/painter.h"
#include "platform/win32/surface.h"

namespace Cockpit {

// One entry of the mode's button menu, in UTF-8.
struct MenuEntry {
  std::string line1;
  std::string line2;  // empty for none
  char selectionKey = 0;
};

// What the frame shows. Texts are UTF-8.
struct FrameContent {
  using Screen = DisplaySlot::Screen;
  Screen screen = Screen::Mode;
  const Win32::Surface* surface = nullptr;     // Mode: the display's surface
  std::optional<std::string> labels[12];       // Mode: the side buttons' labels
  std::optional<std::vector<MenuEntry>> menu;  // Mode: shown over the display when set
  std::vector<std::string> modes;              // ModeList: one a side button, from button 0
  std::string name;                            // "MFD 1"
  bool keyboard = false;                       // this display has the keyboard
  int pressedSide = -1;                        // a side button held down
  std::optional<BottomButton> pressedBottom;
};

class MfdFrame {
 public:
  static constexpr Win32::Pixel kBackground = 0xFF1E2024;
  static constexpr Win32::Pixel kBezel = 0xFF30343A;
  static constexpr Win32::Pixel kBezelEdge = 0xFF121417;
  static constexpr Win32::Pixel kKeyboardEdge = 0xFF4F93D1;
  static constexpr Win32::Pixel kLabel = 0xFFB8E0F8;
  static constexpr Win32::Pixel kMenuText = 0xFFE8E8E8;
  static constexpr Win32::Pixel kSelectionKey = 0xFFFFD060;
  static constexpr Win32::Pixel kBottomLabel = 0xFFDADADA;

  static void Draw(Painter& painter, const FrameLayout& layout, const FrameContent& content);
};

}  // namespace Cockpit
