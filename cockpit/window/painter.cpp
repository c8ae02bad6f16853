#include "cockpit/window/painter.h"

#include <stdexcept>
#include <string>

namespace Cockpit {

namespace {

struct FaceDeleter {
  void operator()(cairo_font_face_t* f) const { cairo_font_face_destroy(f); }
};
using Face = std::unique_ptr<cairo_font_face_t, FaceDeleter>;

// Looked up once each: finding a face through the font configuration costs far more than drawing.
cairo_font_face_t* FaceFor(Font font) {
  static const Face label(
      cairo_toy_font_face_create("DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD));
  static const Face plain(
      cairo_toy_font_face_create("DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL));
  static const Face fixed(cairo_toy_font_face_create("DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL,
                                                     CAIRO_FONT_WEIGHT_NORMAL));
  switch (font) {
    case Font::Label:
      return label.get();
    case Font::Plain:
      return plain.get();
    case Font::Fixed:
      break;
  }
  return fixed.get();
}

constexpr Win32::Pixel kButtonFace = 0xFF4A4F57;
constexpr Win32::Pixel kButtonPressed = 0xFF33373D;
constexpr Win32::Pixel kButtonLight = 0xFF7A818C;
constexpr Win32::Pixel kButtonDark = 0xFF1C1E22;

}  // namespace

Painter::Painter(Win32::Surface& surface) : surface_(surface) {
  const int stride = surface.width() * static_cast<int>(sizeof(Win32::Pixel));
  // The surface's 0xAARRGGBB pixels are exactly cairo's native-endian ARGB32, rows packed.
  if (stride != cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, surface.width()))
    throw std::logic_error("a surface cairo cannot draw into");
  target_.reset(cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(surface.pixels().data()), CAIRO_FORMAT_ARGB32,
      surface.width(), surface.height(), stride));
  cr_.reset(cairo_create(target_.get()));
}

Painter::~Painter() { Flush(); }

void Painter::Flush() { cairo_surface_flush(target_.get()); }

void Painter::SetColour(Win32::Pixel c) {
  cairo_set_source_rgba(cr_.get(), ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                        (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0);
}

void Painter::SetFont(Font font, double size) {
  cairo_set_font_face(cr_.get(), FaceFor(font));
  cairo_set_font_size(cr_.get(), size);
}

void Painter::Fill(const Win32::Rect& r, Win32::Pixel colour) {
  SetColour(colour);
  cairo_rectangle(cr_.get(), r.left, r.top, r.width(), r.height());
  cairo_fill(cr_.get());
}

void Painter::Outline(const Win32::Rect& r, Win32::Pixel colour, double width) {
  SetColour(colour);
  cairo_set_line_width(cr_.get(), width);
  cairo_rectangle(cr_.get(), r.left + width / 2, r.top + width / 2, r.width() - width,
                  r.height() - width);
  cairo_stroke(cr_.get());
}

void Painter::Button(const Win32::Rect& r, bool pressed) {
  Fill(r, pressed ? kButtonPressed : kButtonFace);
  const Win32::Pixel top = pressed ? kButtonDark : kButtonLight;
  const Win32::Pixel bottom = pressed ? kButtonLight : kButtonDark;
  Fill({r.left, r.top, r.right, r.top + 2}, top);
  Fill({r.left, r.top, r.left + 2, r.bottom}, top);
  Fill({r.left, r.bottom - 2, r.right, r.bottom}, bottom);
  Fill({r.right - 2, r.top, r.right, r.bottom}, bottom);
}

double Painter::TextWidth(std::string_view utf8, Font font, double size) {
  SetFont(font, size);
  const std::string text(utf8);
  cairo_text_extents_t extents;
  cairo_text_extents(cr_.get(), text.c_str(), &extents);
  return extents.x_advance;
}

void Painter::Text(const Win32::Rect& box, std::string_view utf8, Font font, double size,
                   Win32::Pixel colour, Align align) {
  if (utf8.empty() || box.empty()) return;
  const std::string text(utf8);
  SetFont(font, size);
  cairo_font_extents_t fontExtents;
  cairo_font_extents(cr_.get(), &fontExtents);
  cairo_text_extents_t extents;
  cairo_text_extents(cr_.get(), text.c_str(), &extents);
  double x = box.left;
  if (align == Align::Centre) x = box.left + (box.width() - extents.x_advance) / 2;
  if (align == Align::Right) x = box.right - extents.x_advance;
  const double baseline = box.top +
                          (box.height() - (fontExtents.ascent + fontExtents.descent)) / 2 +
                          fontExtents.ascent;
  cairo_save(cr_.get());
  cairo_rectangle(cr_.get(), box.left, box.top, box.width(), box.height());
  cairo_clip(cr_.get());
  SetColour(colour);
  cairo_move_to(cr_.get(), x, baseline);
  cairo_show_text(cr_.get(), text.c_str());
  cairo_restore(cr_.get());
}

void Painter::Blit(const Win32::Surface& source, int x, int y) {
  Flush();
  const Win32::Rect target = Win32::Rect{x, y, x + source.width(), y + source.height()}.intersect(
      {0, 0, surface_.width(), surface_.height()});
  for (int row = target.top; row < target.bottom; ++row) {
    const Win32::Pixel* from = source.row(row - y) + (target.left - x);
    std::copy(from, from + target.width(), surface_.row(row) + target.left);
  }
  cairo_surface_mark_dirty(target_.get());
}

void Painter::Shade(const Win32::Rect& r, double alpha) {
  cairo_set_source_rgba(cr_.get(), 0, 0, 0, alpha);
  cairo_rectangle(cr_.get(), r.left, r.top, r.width(), r.height());
  cairo_fill(cr_.get());
}

}  // namespace Cockpit
