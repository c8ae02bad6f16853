#include "cockpit/window/sdl_surfaces.h"

#include <SDL_surface.h>

#include <algorithm>
#include <memory>

namespace Cockpit {

namespace {

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

}  // namespace

void Present(SDL_Window* window, Win32::Surface& picture) {
  SDL_Surface* target = SDL_GetWindowSurface(window);
  if (!target) return;
  // An SDL view of the picture's own pixels, which outlive it.
  const SurfacePtr source(SDL_CreateRGBSurfaceWithFormatFrom(
      picture.pixels().data(), picture.width(), picture.height(), 32,
      picture.width() * static_cast<int>(sizeof(Win32::Pixel)), SDL_PIXELFORMAT_ARGB8888));
  if (!source) return;
  SDL_BlitSurface(source.get(), nullptr, target, nullptr);
  SDL_UpdateWindowSurface(window);
}

Win32::Surface Screenshot(SDL_Window* window) {
  SDL_Surface* shown = SDL_GetWindowSurface(window);
  if (!shown) return {};
  const SurfacePtr copy(SDL_ConvertSurfaceFormat(shown, SDL_PIXELFORMAT_ARGB8888, 0));
  if (!copy) return {};
  Win32::Surface out(copy->w, copy->h);
  SDL_LockSurface(copy.get());
  for (int y = 0; y < copy->h; ++y) {
    const auto* row = reinterpret_cast<const Win32::Pixel*>(
        static_cast<const Uint8*>(copy->pixels) + static_cast<std::ptrdiff_t>(y) * copy->pitch);
    std::copy(row, row + copy->w, out.row(y));
  }
  SDL_UnlockSurface(copy.get());
  return out;
}

}  // namespace Cockpit
