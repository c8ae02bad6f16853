#include "platform/win32/win32.h"

#include <unordered_set>

struct HWND__ {
  Win32::WindowContent* content;
  LONG exStyle = 0;
  BYTE alpha = 255;
  DWORD layeredFlags = 0;
};

struct HDC__ {
  Win32::Surface* surface = nullptr;
  HWND window = nullptr;
};

namespace {

// Handles are looked up before use, so a stale handle fails like on Windows instead of crashing.
std::unordered_set<HWND>& LiveWindows() {
  static std::unordered_set<HWND> live;
  return live;
}

HWND Live(HWND hwnd) { return hwnd && LiveWindows().count(hwnd) ? hwnd : nullptr; }

}  // namespace

LONG GetWindowLongW(HWND hwnd, int index) {
  hwnd = Live(hwnd);
  if (!hwnd || index != GWL_EXSTYLE) return 0;
  return hwnd->exStyle;
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
  hwnd = Live(hwnd);
  if (!hwnd || index != GWL_EXSTYLE) return 0;
  const LONG previous = hwnd->exStyle;
  hwnd->exStyle = value;
  return previous;
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF, BYTE alpha, DWORD flags) {
  hwnd = Live(hwnd);
  if (!hwnd || !(hwnd->exStyle & WS_EX_LAYERED)) return 0;
  hwnd->layeredFlags = flags;
  if (flags & LWA_ALPHA) hwnd->alpha = alpha;
  return 1;
}

BOOL PrintWindow(HWND hwnd, HDC hdc, UINT) {
  hwnd = Live(hwnd);
  if (!hwnd || !hdc || !hdc->surface) return 0;
  Win32::Canvas canvas;
  canvas.surface = hdc->surface;
  canvas.clip = Win32::Rect{0, 0, hdc->surface->width(), hdc->surface->height()}.intersect(
      {0, 0, hwnd->content->WindowWidth(), hwnd->content->WindowHeight()});
  canvas.forPrint = true;
  if (!canvas.clip.empty()) hwnd->content->PaintWindow(canvas);
  return 1;
}

BOOL BitBlt(HDC dest, int x, int y, int cx, int cy, HDC source, int x1, int y1, DWORD rop) {
  if (!dest || !dest->surface || !source || rop != SRCCOPY || cx <= 0 || cy <= 0) return 0;
  Win32::Canvas canvas;
  canvas.surface = dest->surface;
  canvas.originX = x - x1;
  canvas.originY = y - y1;
  canvas.clip = Win32::Rect{x, y, x + cx, y + cy}.intersect(
      {0, 0, dest->surface->width(), dest->surface->height()});
  if (canvas.clip.empty()) return 1;
  if (source->surface) {
    canvas.blit(*source->surface, 0, 0);
    return 1;
  }
  const HWND window = Live(source->window);
  if (!window) return 0;
  canvas.clip = canvas.clip.intersect({canvas.originX, canvas.originY,
                                       canvas.originX + window->content->WindowWidth(),
                                       canvas.originY + window->content->WindowHeight()});
  if (!canvas.clip.empty()) window->content->PaintWindow(canvas);
  return 1;
}

namespace Win32 {

NativeWindow::NativeWindow(WindowContent& content)
    : handle_(std::make_unique<HWND__>(HWND__{&content})) {
  LiveWindows().insert(handle_.get());
}

NativeWindow::~NativeWindow() { LiveWindows().erase(handle_.get()); }

bool NativeWindow::IsInvisible(HWND hwnd) {
  hwnd = Live(hwnd);
  return hwnd && (hwnd->exStyle & WS_EX_LAYERED) && (hwnd->layeredFlags & LWA_ALPHA) &&
         hwnd->alpha == 0;
}

SurfaceDC::SurfaceDC(Surface& surface) : hdc_(std::make_unique<HDC__>(HDC__{&surface, nullptr})) {}
SurfaceDC::~SurfaceDC() = default;

WindowDC::WindowDC(HWND hwnd) : hdc_(std::make_unique<HDC__>(HDC__{nullptr, hwnd})) {}
WindowDC::~WindowDC() = default;

Surface* SurfaceOf(HDC hdc) { return hdc ? hdc->surface : nullptr; }

}  // namespace Win32
