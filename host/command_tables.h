#pragma once
// The display's twelve side buttons: their labels, their menu entries and the keys they send.
#include <array>

#include "platform/orbiter/orbiter_api.h"

namespace Brovis {

constexpr int kButtonCount = 12;

extern const std::array<const char*, kButtonCount> kButtonLabels;
// Laid out as the simulator reads menus: packed records, one after the other.
extern const MFDBUTTONMENU kButtonMenu[kButtonCount];
extern const std::array<DWORD, kButtonCount> kButtonKeys;

}  // namespace Brovis
