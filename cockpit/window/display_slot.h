#pragma once
// One display of the cockpit window as the pilot switches it: on in a mode, off, or showing the
// list of modes, with the mode's button menu over it or not. Its PWR, SEL and MNU buttons, its
// side buttons and the keyboard change it, and reach the simulator's display; SDL is the
// window's business, not its.
#include "cockpit/simulator.h"

namespace Cockpit {

class DisplaySlot {
 public:
  enum class Screen { Mode, Off, ModeList };

  // Opens display `number` of `width` x `height` in the simulator's mode. Throws SimulatorError
  // when the mode makes no display.
  DisplaySlot(Simulator& simulator, int number, int width, int height);

  int number() const { return number_; }
  Screen screen() const { return screen_; }
  bool menuShown() const { return menu_; }
  // The display in the mode; null when the screen shows none.
  Display* display() const;

  // PWR: off, or on again in the mode it showed last.
  void Power();
  // SEL: from the mode to the list of modes, and from the list back to that mode.
  void Select();
  // MNU: shows or hides the mode's button menu.
  void Menu();
  // Side button `button` with the mouse's event bits: closes a shown menu, or goes to the
  // display; on the list of modes a left press picks the mode beside the button.
  void PressSide(int button, int eventBits);
  // A key by its scan code: goes to the display; on the list of modes it picks the mode it
  // selects.
  void PressKey(DWORD scanCode);

 private:
  // A mode that makes no display leaves the screen as it was, as a dead display would.
  void SelectMode(const OrbiterHost::RegisteredMode& mode);
  void LeaveMode(Screen to);

  Simulator* simulator_;
  int number_;
  int width_;
  int height_;
  Screen screen_ = Screen::Mode;
  bool menu_ = false;
  OrbiterHost::RegisteredMode mode_;  // the mode SEL and PWR return to
};

}  // namespace Cockpit
