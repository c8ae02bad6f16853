#pragma once
// The few window-system and drawing calls of the Windows API that the module uses, for this
// platform: window handles with extended styles and layered-window attributes, device contexts
// over memory surfaces or windows, PrintWindow and BitBlt.
#include <cstdint>
#include <memory>

#include "platform/win32/surface.h"

using BOOL = int;
using BYTE = std::uint8_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using COLORREF = std::uint32_t;
using UINT = unsigned int;
// The message parameters carry pointers, so they are as wide as one.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
struct HWND__;
using HWND = HWND__*;
struct HDC__;
using HDC = HDC__*;

constexpr int GWL_EXSTYLE = -20;
constexpr LONG WS_EX_TOOLWINDOW = 0x00000080;
constexpr LONG WS_EX_LAYERED = 0x00080000;
constexpr DWORD LWA_COLORKEY = 0x1;
constexpr DWORD LWA_ALPHA = 0x2;
constexpr DWORD SRCCOPY = 0x00CC0020;

// Unknown handles give 0 / FALSE, as on Windows.
LONG GetWindowLongW(HWND hwnd, int index);
LONG SetWindowLongW(HWND hwnd, int index, LONG value);  // returns the previous value
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags);
// The whole window, as its contents paint now, into `hdc` at the surface's top-left corner.
BOOL PrintWindow(HWND hwnd, HDC hdc, UINT flags);
BOOL BitBlt(HDC dest, int x, int y, int cx, int cy, HDC source, int x1, int y1, DWORD rop);

namespace Win32 {

// What the window system asks of whatever owns a window: to paint its whole area.
class WindowContent {
 public:
  virtual ~WindowContent() = default;
  virtual void PaintWindow(const Canvas& canvas) = 0;
  virtual int WindowWidth() const = 0;
  virtual int WindowHeight() const = 0;
};

// A native window: a handle, its styles and layered attributes. The owner keeps it alive; the
// handle stops being valid when it goes.
class NativeWindow {
 public:
  explicit NativeWindow(WindowContent& content);
  ~NativeWindow();
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;

  HWND handle() const { return handle_.get(); }

  // True when the window system would put none of the window's pixels on a screen.
  static bool IsInvisible(HWND hwnd);

 private:
  std::unique_ptr<HWND__> handle_;
};

// A device context drawing into a memory surface, as a display's drawing surface is.
class SurfaceDC {
 public:
  explicit SurfaceDC(Surface& surface);
  ~SurfaceDC();
  SurfaceDC(const SurfaceDC&) = delete;
  SurfaceDC& operator=(const SurfaceDC&) = delete;
  HDC get() const { return hdc_.get(); }

 private:
  std::unique_ptr<HDC__> hdc_;
};

// A device context over a window's client area: reading from it paints the window.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd);
  ~WindowDC();
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return hdc_.get(); }

 private:
  std::unique_ptr<HDC__> hdc_;
};

// The surface behind a memory device context, or null.
Surface* SurfaceOf(HDC hdc);

}  // namespace Win32
