#pragma once
// Paints the cockpit window's own parts with cairo, straight into a 0xAARRGGBB surface: filled,
// outlined and shaded boxes, button faces, copies of other surfaces, and UTF-8 text in the
// display font or a fixed-width one.
#include <cairo.h>

#include <memory>
#include <string_view>

#include "platform/win32/surface.h"

namespace Cockpit {

enum class Font { Label, Plain, Fixed };
enum class Align { Left, Centre, Right };

class Painter {
 public:
  // Draws into `surface`, which must outlive the renderer and keep its size meanwhile.
  explicit Painter(Win32::Surface& surface);
  ~Painter();
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  void Fill(const Win32::Rect& r, Win32::Pixel colour);
  // A line of `width` pixels just inside `r`.
  void Outline(const Win32::Rect& r, Win32::Pixel colour, double width = 1.0);
  // A raised button face with a light top edge and a dark bottom one; sunken when `pressed`.
  void Button(const Win32::Rect& r, bool pressed);
  // One line, vertically centred in `box` and clipped to it.
  void Text(const Win32::Rect& box, std::string_view utf8, Font font, double size,
            Win32::Pixel colour, Align align = Align::Left);
  // The advance of `utf8` in pixels.
  double TextWidth(std::string_view utf8, Font font, double size);
  // Copies `source` with its top-left corner at (x, y), clipped to the surface.
  void Blit(const Win32::Surface& source, int x, int y);
  // Darkens `r` by blending black over it with `alpha` (0 to 1).
  void Shade(const Win32::Rect& r, double alpha);

  // Cairo writes through its own view of the pixels; call before reading the surface.
  void Flush();

 private:
  struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
  };
  struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
  };
  void SetColour(Win32::Pixel colour);
  void SetFont(Font font, double size);

  Win32::Surface& surface_;
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> target_;
  std::unique_ptr<cairo_t, ContextDeleter> cr_;
};

}  // namespace Cockpit
