#pragma once
// SDL's keys as the simulator reports them to a display. SDL's scancodes are the keys' USB
// usages (their place on the keyboard, whatever the layout), which the keyboard table turns
// into DirectInput scan codes.
#include <SDL_scancode.h>

#include <optional>
#include <string>

#include "platform/win32/win32.h"

namespace Cockpit {

// The DirectInput code of the key, or none for a key the simulator's keyboard has no code for.
std::optional<DWORD> DirectInputScanCode(SDL_Scancode scancode);

// The name of the key with DirectInput code `code` ("I", "Up"), empty when unknown.
std::string KeyName(DWORD code);

// Shift, Control, Alt and the system keys: they change other keys and are not sent on their own.
bool IsModifierKey(SDL_Scancode scancode);

}  // namespace Cockpit
