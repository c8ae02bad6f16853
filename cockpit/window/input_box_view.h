#pragma once
// The simulator's text input box as the window shows it: a modal box over the whole window with
// the module's title, a field as many characters wide as the module asked for, and a caret.
#include <string>

#include "cockpit/window/painter.h"
#include "cockpit/window/text_field.h"
#include "platform/win32/surface.h"

namespace Cockpit {

class InputBoxView {
 public:
  static constexpr double kFontSize = 14.0;
  static constexpr int kPadding = 14;
  static constexpr Win32::Pixel kBox = 0xFF2A3A4A;
  static constexpr Win32::Pixel kField = 0xFF0B0F14;
  static constexpr Win32::Pixel kText = 0xFFF0F0F0;
  static constexpr Win32::Pixel kCaret = 0xFF7FD0FF;

  // The width of one character of the field's fixed-width font, in pixels.
  static double CharWidth();
  // The width of a box whose field shows `visibleLength` characters.
  static int BoxWidth(int visibleLength);

  struct Layout {
    Win32::Rect box;
    Win32::Rect title;
    Win32::Rect field;
    Win32::Rect hint;
    int visibleLength = 0;  // what the field shows, no more than the window's width allows
  };
  // The box centred in a window of `width` x `height`.
  static Layout Place(int width, int height, int visibleLength);

  // Dims the window and draws the box over it.
  static void Draw(Painter& painter, int width, int height, const std::string& title,
                   int visibleLength, TextField& field);
};

}  // namespace Cockpit
