#include "cockpit/window/input_box_view.h"

#include <algorithm>
#include <cmath>

namespace Cockpit {

double InputBoxView::CharWidth() {
  static const double width = [] {
    Win32::Surface scratch(1, 1);
    Painter measure(scratch);
    return measure.TextWidth("M", Font::Fixed, kFontSize);
  }();
  return width;
}

int InputBoxView::BoxWidth(int visibleLength) {
  // One column more than asked for, for the caret after the last character.
  return static_cast<int>(std::ceil(CharWidth() * (std::max(visibleLength, 1) + 1))) +
         3 * kPadding;  // the field's inner margins and the box's
}

InputBoxView::Layout InputBoxView::Place(int width, int height, int visibleLength) {
  Layout l;
  l.visibleLength = std::max(visibleLength, 1);
  // A window too narrow for the field shows fewer characters, and the field scrolls.
  while (l.visibleLength > 1 && BoxWidth(l.visibleLength) > width - 8) --l.visibleLength;
  const int boxWidth = std::min(BoxWidth(l.visibleLength), width);
  const int line = static_cast<int>(kFontSize * 1.6);
  const int boxHeight = 4 * line + 2 * kPadding;
  const int left = (width - boxWidth) / 2;
  const int top = std::max(0, (height - boxHeight) / 2);
  l.box = {left, top, left + boxWidth, top + boxHeight};
  l.title = {left + kPadding, top + kPadding, l.box.right - kPadding, top + kPadding + line};
  l.field = {l.title.left, l.title.bottom + line / 3, l.title.right,
             l.title.bottom + line / 3 + line + 4};
  l.hint = {l.title.left, l.field.bottom + line / 3, l.title.right, l.box.bottom - kPadding / 2};
  return l;
}

void InputBoxView::Draw(Painter& p, int width, int height, const std::string& title,
                        int visibleLength, TextField& field) {
  const Layout l = Place(width, height, visibleLength);
  p.Shade({0, 0, width, height}, 0.55);
  p.Fill(l.box, kBox);
  p.Outline(l.box, 0xFF6A8AAA, 2.0);
  p.Text(l.title, title, Font::Label, kFontSize, kText);
  p.Fill(l.field, kField);
  p.Outline(l.field, 0xFF50606F);
  const TextField::View view = field.Visible(static_cast<std::size_t>(l.visibleLength));
  const int textLeft = l.field.left + kPadding / 2;
  p.Text({textLeft, l.field.top, l.field.right - 2, l.field.bottom}, view.text, Font::Fixed,
         kFontSize, kText);
  const int caretX = textLeft + static_cast<int>(std::lround(view.caretColumn * CharWidth()));
  p.Fill({caretX, l.field.top + 3, caretX + 2, l.field.bottom - 3}, kCaret);
  p.Text(l.hint, "Enter: OK    Esc: cancel    Ctrl+V: paste", Font::Plain, kFontSize * 0.8,
         0xFFA0B0C0);
}

}  // namespace Cockpit
