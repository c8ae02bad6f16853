#include "cockpit/window/display_slot.h"

namespace Cockpit {

DisplaySlot::DisplaySlot(Simulator& simulator, int number, int width, int height)
    : simulator_(&simulator),
      number_(number),
      width_(width),
      height_(height),
      mode_(simulator.mode()) {
  simulator.Open(number, width, height);
}

Display* DisplaySlot::display() const {
  return screen_ == Screen::Mode ? simulator_->Find(number_) : nullptr;
}

void DisplaySlot::Power() {
  if (screen_ == Screen::Off)
    SelectMode(mode_);
  else
    LeaveMode(Screen::Off);
}

void DisplaySlot::Select() {
  if (screen_ == Screen::Mode)
    LeaveMode(Screen::ModeList);
  else if (screen_ == Screen::ModeList)
    SelectMode(mode_);
}

void DisplaySlot::Menu() {
  if (screen_ == Screen::Mode) menu_ = !menu_;
}

void DisplaySlot::PressSide(int button, int eventBits) {
  if (screen_ == Screen::ModeList) {
    const auto modes = OrbiterHost::RegisteredModes();
    if ((eventBits & 1) && button >= 0 && button < static_cast<int>(modes.size()))
      SelectMode(modes[button]);
  } else if (menu_) {
    menu_ = false;
  } else if (Display* shown = display()) {
    shown->mfd().ConsumeButton(button, eventBits);
  }
}

void DisplaySlot::PressKey(DWORD scanCode) {
  if (screen_ == Screen::ModeList) {
    for (const auto& mode : OrbiterHost::RegisteredModes())
      if (mode.key == scanCode) return SelectMode(mode);
  } else if (Display* shown = display()) {
    shown->mfd().ConsumeKeyBuffered(scanCode);
  }
}

void DisplaySlot::SelectMode(const OrbiterHost::RegisteredMode& mode) {
  try {
    simulator_->Open(number_, width_, height_, mode);
    mode_ = mode;
    screen_ = Screen::Mode;
  } catch (const SimulatorError&) {
  }
}

void DisplaySlot::LeaveMode(Screen to) {
  if (screen_ == Screen::Mode) simulator_->Close(number_);
  screen_ = to;
  menu_ = false;
}

}  // namespace Cockpit
