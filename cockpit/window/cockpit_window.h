#pragma once
// The cockpit as a desktop window: the simulator's displays, each in a frame with its buttons,
// driven with the mouse and the keyboard, and redrawn by the simulator's frame loop. The window
// is the pilot's seat; the displays, the module and the browser stay where script mode has them.
#include <SDL.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cockpit/simulator.h"
#include "cockpit/window/button_layout.h"
#include "cockpit/window/display_slot.h"
#include "cockpit/window/mfd_frame.h"
#include "cockpit/window/text_field.h"
#include "platform/win32/surface.h"

namespace Cockpit {

struct WindowSettings {
  int displays = 1;  // side by side, numbered from 1
  int width = 256;   // of each display
  int height = 256;
};

// Mouse buttons as the event bits of ConsumeButton: bit 0 is the left button, as the module
// expects; the right and middle buttons pass bits 1 and 2.
int MouseEventBits(Uint8 sdlButton);

class CockpitWindow {
 public:
  // Opens the displays in the simulator's mode and shows the window. Throws std::runtime_error
  // when there is no video, and SimulatorError when the module makes no display.
  CockpitWindow(Simulator& simulator, const WindowSettings& settings);
  // Closes the displays (an open input box is cancelled first) and the window.
  ~CockpitWindow();
  CockpitWindow(const CockpitWindow&) = delete;
  CockpitWindow& operator=(const CockpitWindow&) = delete;

  // Where everything is in a window with these settings.
  static ButtonLayout LayoutFor(const WindowSettings& settings);

  // Runs the frame loop until the pilot closes the window.
  void Run();
  // Runs it until `done` holds, the window is closed or `limit` is up; returns `done()`.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

  bool closed() const { return closed_; }
  Uint32 windowId() const;
  const ButtonLayout& layout() const { return layout_; }
  // What the window shows now.
  Win32::Surface Screenshot() const;
  // The display (0-based frame index) that has the keyboard.
  int keyboardDisplay() const { return keyboard_; }
  bool menuShown(int display) const { return slots_.at(display).menuShown(); }
  FrameContent::Screen screen(int display) const { return slots_.at(display).screen(); }
  bool inputBoxShown() const { return box_.has_value(); }
  // The status line's text.
  std::string Status() const;

 private:
  struct Box {
    std::string title;  // UTF-8
    int visibleLength = 0;
    TextField field;
  };
  struct SdlVideo {
    SdlVideo();
    ~SdlVideo();
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;
  };
  struct WindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
  };

  // Everything but the simulator's part of a frame: input, the input box, the picture.
  void Tick();
  void HandleEvent(const SDL_Event& event);
  void MouseDown(const SDL_MouseButtonEvent& event);
  void KeyDown(const SDL_KeyboardEvent& event);
  void BoxKeyDown(const SDL_KeyboardEvent& event);
  void FollowInputBox();
  void NoteRedraws();
  FrameContent Content(int index);
  void Compose();
  void Present();

  Simulator& simulator_;
  WindowSettings settings_;
  ButtonLayout layout_;
  SdlVideo video_;
  std::unique_ptr<SDL_Window, WindowDeleter> window_;
  Win32::Surface picture_;
  std::vector<DisplaySlot> slots_;
  std::vector<Clock::time_point> seenRedraws_;  // of each slot's display, as last shown
  int keyboard_ = 0;
  int pressedDisplay_ = -1;
  int pressedSide_ = -1;
  std::optional<BottomButton> pressedBottom_;
  std::optional<Box> box_;
  bool boxOpened_ = false;  // the module opened a box since the last look
  std::optional<OrbiterHost::InputBox> openedBox_;
  bool dirty_ = true;
  bool closed_ = false;
  int lastUpdated_ = 0;  // the number of the display redrawn last
  Clock::duration lastUpdateTime_{};
};

}  // namespace Cockpit
