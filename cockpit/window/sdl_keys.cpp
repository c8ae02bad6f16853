#include "cockpit/window/sdl_keys.h"

#include "platform/keyboard/scan_codes.h"

namespace Cockpit {

std::optional<DWORD> DirectInputScanCode(SDL_Scancode scancode) {
  const Keyboard::Key* key = Keyboard::FindByUsbUsage(static_cast<std::uint32_t>(scancode));
  if (!key) return std::nullopt;
  return key->scanCode;
}

std::string KeyName(DWORD code) {
  const Keyboard::Key* key = Keyboard::FindByScanCode(code);
  return key ? std::string(key->name) : std::string();
}

bool IsModifierKey(SDL_Scancode scancode) {
  switch (scancode) {
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
    case SDL_SCANCODE_LGUI:
    case SDL_SCANCODE_RGUI:
    case SDL_SCANCODE_MODE:
      return true;
    default:
      return false;
  }
}

}  // namespace Cockpit
