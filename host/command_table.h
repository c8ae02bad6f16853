#pragma once
// The display's commands, one row each: the side button that gives it, the key that acts, the
// label beside the button, the button menu's entry, and what it does. Labels, menu, buttons and
// keys all answer from this one table.
#include <array>

#include "Orbitersdk.h"

namespace Brovis {

class Brovis;

struct Command {
  int button;
  DWORD key;
  const char* label;  // at most four characters, as a display's label
  // The selection character is a hint for the pilot; the key that acts is `key` (the period and
  // comma keys, not '>' and '<').
  MFDBUTTONMENU menu;
  // Acts on the shared browser, or opens an input box for `display`.
  void (*run)(Brovis& display);
};

constexpr int kButtonCount = 12;

// Row b is button b's.
extern const std::array<Command, kButtonCount> kCommands;
// The menu column, laid out as the simulator reads menus: packed records, one after the other.
extern const std::array<MFDBUTTONMENU, kButtonCount> kButtonMenu;

// The row of `key`; null for a key that is no command.
const Command* CommandOfKey(DWORD key);

}  // namespace Brovis
