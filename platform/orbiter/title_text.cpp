#include "platform/orbiter/title_text.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
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
struct ScaledFontDeleter {
  void operator()(cairo_scaled_font_t* f) const { cairo_scaled_font_destroy(f); }
};
struct FontOptionsDeleter {
  void operator()(cairo_font_options_t* o) const { cairo_font_options_destroy(o); }
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

// The font grows with the display, and stays readable on small ones.
double FontSize(int displayHeight) { return std::max(10.0, displayHeight / 18.0); }

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
  const double size = FontSize(surface.height());
  cairo_set_font_face(cr.get(), TitleFace());
  cairo_set_font_size(cr.get(), size);
  cairo_font_extents_t font;
  cairo_font_extents(cr.get(), &font);
  cairo_set_source_rgb(cr.get(), 0.0, 0.85, 0.0);
  cairo_move_to(cr.get(), size * 0.4, size * 0.2 + font.ascent);
  cairo_show_text(cr.get(), Printable(title).c_str());
  cairo_surface_flush(target.get());
}

CharacterCell DisplayFontCell(int height) {
  const double size = FontSize(height);
  cairo_matrix_t fontMatrix;
  cairo_matrix_t identity;
  cairo_matrix_init_scale(&fontMatrix, size, size);
  cairo_matrix_init_identity(&identity);
  const std::unique_ptr<cairo_font_options_t, FontOptionsDeleter> options(
      cairo_font_options_create());
  const std::unique_ptr<cairo_scaled_font_t, ScaledFontDeleter> font(
      cairo_scaled_font_create(TitleFace(), &fontMatrix, &identity, options.get()));
  cairo_font_extents_t extents;
  cairo_scaled_font_extents(font.get(), &extents);
  cairo_text_extents_t m;
  cairo_scaled_font_text_extents(font.get(), "M", &m);
  return {static_cast<unsigned>(std::lround(m.x_advance)),
          static_cast<unsigned>(std::lround(extents.height))};
}

}  // namespace OrbiterHost
