#pragma once
// The keyboard scan codes (DirectInput numbering) that the display acts on.
#include "OrbiterAPI.h"

namespace Brovis::Keys {

constexpr DWORD U = 22;
constexpr DWORD I = 23;
constexpr DWORD A = 30;
constexpr DWORD F = 33;
constexpr DWORD C = 46;
constexpr DWORD B = 48;
constexpr DWORD Comma = 51;
constexpr DWORD Period = 52;
constexpr DWORD Up = 200;
constexpr DWORD Left = 203;
constexpr DWORD Right = 205;
constexpr DWORD Down = 208;

}  // namespace Brovis::Keys
