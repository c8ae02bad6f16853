#include "platform/orbiter/title_text.h"

#include <cairo.h>

#include <algorithm>
#include <memory>
#include <string>

namespace OrbiterHost {

namespace {

struct CairoSurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
struct FontFaceDeleter {
  void operator()(cairo_font_face_t* f) const { cairo_font_face_destroy(f); }
};

// Looked up once: finding a face through the font configuration costs far more than drawing.
cairo_font_face_t* TitleFace() {
  static const std::unique_ptr<cairo_font_face_t, FontFaceDeleter> face(
      cairo_toy_font_face_create("DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD));
  return face.get();
}

std::string Printable(std::string_view title) {
  std::string text(title);
  std::replace_if(
      text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }, '?');
  return text;
}

}  // namespace

void DrawTitle(Win32::Surface& surface, std::string_view title) {
  if (surface.width() <= 0 || surface.height() <= 0 || title.empty()) return;
  // The surface's 0xAARRGGBB pixels are exactly cairo's native-endian ARGB32, so cairo draws
  // straight into the display's memory.
  const int stride = surface.width() * static_cast<int>(sizeof(Win32::Pixel));
  if (stride != cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, surface.width())) return;
  const std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter> target(
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(surface.pixels().data()),
                                          CAIRO_FORMAT_ARGB32, surface.width(), surface.height(),
                                          stride));
  const std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(target.get()));
  // The font grows with the display, and stays readable on small ones.
  const double size = std::max(10.0, surface.height() / 18.0);
  cairo_set_font_face(cr.get(), TitleFace());
  cairo_set_font_size(cr.get(), size);
  cairo_font_extents_t font;
  cairo_font_extents(cr.get(), &font);
  cairo_set_source_rgb(cr.get(), 0.0, 0.85, 0.0);
  cairo_move_to(cr.get(), size * 0.4, size * 0.2 + font.ascent);
  cairo_show_text(cr.get(), Printable(title).c_str());
  cairo_surface_flush(target.get());
}

}  // namespace OrbiterHost
