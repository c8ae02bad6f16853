#include "tests/cockpit_window/window_events.h"

#include <cstring>

#include "tests/support/pixels.h"

namespace BrovisTest {

void Click(const Cockpit::CockpitWindow& window, int x, int y, Uint8 button) {
  for (const Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
    SDL_Event event{};
    event.button.type = type;
    event.button.windowID = window.windowId();
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
  }
}

void ClickSide(const Cockpit::CockpitWindow& window, int display, int b, Uint8 button) {
  const Win32::Rect& r = window.layout().frames().at(display).sideButtons[b];
  Click(window, (r.left + r.right) / 2, (r.top + r.bottom) / 2, button);
}

void ClickBottom(const Cockpit::CockpitWindow& window, int display, Cockpit::BottomButton b) {
  const Win32::Rect& r = window.layout().frames().at(display).bottomButtons[static_cast<int>(b)];
  Click(window, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void Key(const Cockpit::CockpitWindow& window, SDL_Scancode key, Uint16 mod) {
  for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event event{};
    event.key.type = type;
    event.key.windowID = window.windowId();
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
  }
}

void Text(const Cockpit::CockpitWindow& window, const std::string& utf8) {
  // One event a character, as a keyboard types.
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t length = 1;
    while (i + length < utf8.size() &&
           (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80)
      ++length;
    SDL_Event event{};
    event.text.type = SDL_TEXTINPUT;
    event.text.windowID = window.windowId();
    std::memcpy(event.text.text, utf8.data() + i, length);
    SDL_PushEvent(&event);
    i += length;
  }
}

int CountNear(const Win32::Surface& picture, const Win32::Rect& r, Win32::Pixel colour,
              int tolerance) {
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (Near(picture.at(x, y), colour, tolerance)) ++count;
  return count;
}

}  // namespace BrovisTest
