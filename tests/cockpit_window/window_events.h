#pragma once
// Playing the pilot at a cockpit window: SDL events as the desktop would queue them.
#include <SDL.h>

#include <string>

#include "cockpit/window/cockpit_window.h"

namespace BrovisTest {

// A press and release of mouse button `button` at (x, y) of the window.
void Click(const Cockpit::CockpitWindow& window, int x, int y, Uint8 button = SDL_BUTTON_LEFT);
// The centre of side button `b` of frame `display`.
void ClickSide(const Cockpit::CockpitWindow& window, int display, int b,
               Uint8 button = SDL_BUTTON_LEFT);
void ClickBottom(const Cockpit::CockpitWindow& window, int display, Cockpit::BottomButton b);
// A key press and release; `mod` holds the modifiers down meanwhile.
void Key(const Cockpit::CockpitWindow& window, SDL_Scancode key, Uint16 mod = KMOD_NONE);
// Characters as typed into a focused text field.
void Text(const Cockpit::CockpitWindow& window, const std::string& utf8);

// How many pixels of `r` in `picture` are within `tolerance` of `colour`.
int CountNear(const Win32::Surface& picture, const Win32::Rect& r, Win32::Pixel colour,
              int tolerance = 24);

}  // namespace BrovisTest
