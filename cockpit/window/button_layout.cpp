#include "cockpit/window/button_layout.h"

#include <algorithm>

namespace Cockpit {

namespace {

bool Inside(const Win32::Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

Win32::Rect At(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

// Row `row` of six, spread down the screen's height: a button's centre sits at the middle of its
// sixth of the screen, as on a cockpit display, and its label beside it.
int RowCentre(const Win32::Rect& screen, int row) {
  return screen.top + (2 * row + 1) * screen.height() / 12;
}

FrameLayout Frame(int left, int width, int height) {
  using L = ButtonLayout;
  FrameLayout f;
  const int frameWidth = 2 * (L::kGap + L::kSideButtonWidth + L::kGap) + width;
  f.frame = At(left, 0, frameWidth, L::kBezelTop + height + L::kBezelBottom);
  f.screen = At(left + L::kGap + L::kSideButtonWidth + L::kGap, L::kBezelTop, width, height);
  // Small displays get shorter buttons, so that six fit.
  const int buttonHeight = std::max(4, std::min(L::kSideButtonHeight, height / 6 - 4));
  const int labelHeight = std::max(4, std::min(18, height / 6));
  const int labelWidth = std::min(56, width / 2);
  for (int row = 0; row < 6; ++row) {
    const int centre = RowCentre(f.screen, row);
    f.sideButtons[row] =
        At(left + L::kGap, centre - buttonHeight / 2, L::kSideButtonWidth, buttonHeight);
    f.sideButtons[row + 6] =
        At(f.screen.right + L::kGap, centre - buttonHeight / 2, L::kSideButtonWidth, buttonHeight);
    f.labels[row] = At(f.screen.left, centre - labelHeight / 2, labelWidth, labelHeight);
    f.labels[row + 6] =
        At(f.screen.right - labelWidth, centre - labelHeight / 2, labelWidth, labelHeight);
  }
  const int bottomTop = f.screen.bottom + (L::kBezelBottom - L::kBottomButtonHeight) / 2;
  // PWR under the left edge of the screen; SEL and MNU under the right edge.
  f.bottomButtons[0] = At(f.screen.left, bottomTop, L::kBottomButtonWidth, L::kBottomButtonHeight);
  f.bottomButtons[2] = At(f.screen.right - L::kBottomButtonWidth, bottomTop, L::kBottomButtonWidth,
                          L::kBottomButtonHeight);
  f.bottomButtons[1] = f.bottomButtons[2].offset(-(L::kBottomButtonWidth + L::kGap), 0);
  f.name = {f.bottomButtons[0].right + L::kGap, bottomTop, f.bottomButtons[1].left - L::kGap,
            bottomTop + L::kBottomButtonHeight};
  return f;
}

}  // namespace

ButtonLayout::ButtonLayout(int count, int width, int height, int minWidth) {
  count = std::max(count, 1);
  const FrameLayout first = Frame(0, width, height);
  const int framesWidth = count * first.frame.width();
  windowWidth_ = std::max(framesWidth, minWidth);
  const int left = (windowWidth_ - framesWidth) / 2;
  for (int i = 0; i < count; ++i)
    frames_.push_back(Frame(left + i * first.frame.width(), width, height));
  status_ = At(0, first.frame.bottom, windowWidth_, kStatusHeight);
  windowHeight_ = status_.bottom;
}

Hit ButtonLayout::HitTest(int x, int y) const {
  for (int d = 0; d < static_cast<int>(frames_.size()); ++d) {
    const FrameLayout& f = frames_[d];
    if (!Inside(f.frame, x, y)) continue;
    for (int b = 0; b < 12; ++b)
      if (Inside(f.sideButtons[b], x, y)) return {Hit::Kind::SideButton, d, b};
    for (int b = 0; b < 3; ++b)
      if (Inside(f.bottomButtons[b], x, y))
        return {Hit::Kind::BottomButton, d, -1, static_cast<BottomButton>(b)};
    if (Inside(f.screen, x, y)) return {Hit::Kind::Screen, d};
    return {Hit::Kind::Frame, d};
  }
  return {};
}

}  // namespace Cockpit
