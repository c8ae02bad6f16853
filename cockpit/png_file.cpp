#include "cockpit/png_file.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace Cockpit {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

class PngWriter {
 public:
  PngWriter() : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr)) {
    if (png_) info_ = png_create_info_struct(png_);
  }
  ~PngWriter() { png_destroy_write_struct(&png_, &info_); }
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;
  bool ok() const { return png_ && info_; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_;
  png_infop info_ = nullptr;
};

// libpng reports errors by jumping back to the setjmp; nothing in this frame has a destructor.
bool Encode(png_structp png, png_infop info, std::FILE* file, const Win32::Surface& surface,
            png_const_bytep* rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_IHDR(png, info, surface.width(), surface.height(), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // The surface holds B, G, R, A in memory; the display is opaque, so alpha is dropped.
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_write_image(png, const_cast<png_bytepp>(rows));
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

void WritePng(const Win32::Surface& surface, const std::filesystem::path& path) {
  if (surface.width() < 1 || surface.height() < 1) throw std::runtime_error("empty surface");
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file)
    throw std::runtime_error("cannot write " + path.string() + ": " + std::strerror(errno));
  PngWriter writer;
  if (!writer.ok()) throw std::runtime_error("cannot start a PNG");
  std::vector<png_const_bytep> rows(surface.height());
  for (int y = 0; y < surface.height(); ++y)
    rows[y] = reinterpret_cast<png_const_bytep>(surface.row(y));
  if (!Encode(writer.png(), writer.info(), file.get(), surface, rows.data()) ||
      std::fflush(file.get()) != 0)
    throw std::runtime_error("cannot write " + path.string());
}

}  // namespace Cockpit
