#pragma once
// The display's twelve side buttons: their labels, their menu entries and the keys they send.
#include <array>

#include "Orbitersdk.h"

namespace Brovis {

constexpr int kButtonCount = 12;

// Writable arrays, because the simulator takes labels as char*; it never writes them.
extern char kButtonLabels[kButtonCount][5];
// Laid out as the simulator reads menus: packed records, one after the other.
extern const MFDBUTTONMENU kButtonMenu[kButtonCount];
extern const std::array<DWORD, kButtonCount> kButtonKeys;

}  // namespace Brovis
