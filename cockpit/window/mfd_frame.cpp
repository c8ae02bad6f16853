#include "cockpit/window/mfd_frame.h"

#include <algorithm>

namespace Cockpit {

namespace {

constexpr const char* kBottomNames[] = {"PWR", "SEL", "MNU"};

double LabelSize(const Win32::Rect& label) { return std::clamp(label.height() * 0.72, 7.0, 13.0); }

// The half of the screen's width beside side button `b`, one row high.
Win32::Rect Row(const FrameLayout& f, int b) {
  const Win32::Rect& label = f.labels[b];
  const int middle = f.screen.left + f.screen.width() / 2;
  return b < 6 ? Win32::Rect{f.screen.left + 3, label.top, middle - 2, label.bottom}
               : Win32::Rect{middle + 2, label.top, f.screen.right - 3, label.bottom};
}

void DrawLabels(Painter& p, const FrameLayout& f, const FrameContent& c) {
  for (int b = 0; b < 12; ++b) {
    if (!c.labels[b] || c.labels[b]->empty()) continue;
    const Win32::Rect& box = f.labels[b];
    const double size = LabelSize(box);
    const int width =
        std::min(box.width(), static_cast<int>(p.TextWidth(*c.labels[b], Font::Label, size)) + 6);
    // A dark plate under the label keeps it readable over a bright page.
    const Win32::Rect plate = b < 6
                                  ? Win32::Rect{box.left, box.top, box.left + width, box.bottom}
                                  : Win32::Rect{box.right - width, box.top, box.right, box.bottom};
    p.Shade(plate, 0.65);
    p.Text({plate.left + 3, plate.top, plate.right - 3, plate.bottom}, *c.labels[b], Font::Label,
           size, MfdFrame::kLabel, b < 6 ? Align::Left : Align::Right);
  }
}

void DrawMenu(Painter& p, const FrameLayout& f, const std::vector<MenuEntry>& menu) {
  p.Shade(f.screen, 0.85);
  const double size = LabelSize(f.labels[0]);
  if (menu.empty()) {
    p.Text(f.screen, "No button menu", Font::Plain, size, MfdFrame::kMenuText, Align::Centre);
    return;
  }
  for (int b = 0; b < std::min<int>(12, menu.size()); ++b) {
    const MenuEntry& entry = menu[b];
    const Win32::Rect row = Row(f, b);
    const bool left = b < 6;
    const Align align = left ? Align::Left : Align::Right;
    // The selection character sits against the button, the description beside it.
    const int keyWidth = static_cast<int>(size * 1.4);
    Win32::Rect text = row;
    if (entry.selectionKey) {
      const Win32::Rect key =
          left ? Win32::Rect{row.left, row.top, row.left + keyWidth, row.bottom}
               : Win32::Rect{row.right - keyWidth, row.top, row.right, row.bottom};
      p.Outline(key, MfdFrame::kSelectionKey);
      p.Text(key, std::string(1, entry.selectionKey), Font::Label, size * 0.9,
             MfdFrame::kSelectionKey, Align::Centre);
    }
    if (left)
      text.left += keyWidth + 3;
    else
      text.right -= keyWidth + 3;
    if (entry.line2.empty()) {
      p.Text(text, entry.line1, Font::Plain, size * 0.9, MfdFrame::kMenuText, align);
      continue;
    }
    // Two lines fill the row and the space below it.
    const int half = std::max(row.height(), static_cast<int>(size * 1.2));
    p.Text({text.left, row.top - half / 4, text.right, row.top - half / 4 + half}, entry.line1,
           Font::Plain, size * 0.9, MfdFrame::kMenuText, align);
    p.Text({text.left, row.top + half * 3 / 4, text.right, row.top + half * 3 / 4 + half},
           entry.line2, Font::Plain, size * 0.8, MfdFrame::kLabel, align);
  }
}

void DrawModeList(Painter& p, const FrameLayout& f, const FrameContent& c) {
  p.Fill(f.screen, 0xFF000000);
  const double size = LabelSize(f.labels[0]);
  p.Text({f.screen.left, f.screen.top + 2, f.screen.right, f.screen.top + 2 + f.labels[0].height()},
         "Select mode", Font::Label, size, MfdFrame::kMenuText, Align::Centre);
  for (int b = 0; b < std::min<int>(12, c.modes.size()); ++b)
    p.Text(Row(f, b), c.modes[b], Font::Label, size, MfdFrame::kLabel,
           b < 6 ? Align::Left : Align::Right);
}

}  // namespace

void MfdFrame::Draw(Painter& p, const FrameLayout& f, const FrameContent& c) {
  p.Fill(f.frame, kBezel);
  p.Outline(f.frame, c.keyboard ? kKeyboardEdge : kBezelEdge, c.keyboard ? 2.0 : 1.0);
  for (int b = 0; b < 12; ++b) p.Button(f.sideButtons[b], c.pressedSide == b);
  for (int b = 0; b < 3; ++b) {
    p.Button(f.bottomButtons[b], c.pressedBottom && static_cast<int>(*c.pressedBottom) == b);
    p.Text(f.bottomButtons[b], kBottomNames[b], Font::Label, 11, kBottomLabel, Align::Centre);
  }
  p.Text(f.name, c.name, Font::Plain, 11, 0xFF9AA0A8, Align::Centre);

  p.Fill(f.screen, 0xFF000000);
  switch (c.screen) {
    case FrameContent::Screen::Off:
      break;
    case FrameContent::Screen::ModeList:
      DrawModeList(p, f, c);
      break;
    case FrameContent::Screen::Mode:
      if (c.surface) p.Blit(*c.surface, f.screen.left, f.screen.top);
      if (c.menu)
        DrawMenu(p, f, *c.menu);
      else
        DrawLabels(p, f, c);
      break;
  }
}

}  // namespace Cockpit
