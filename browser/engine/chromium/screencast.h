#pragma once
// The page's pictures as the browser streams them: the newest frame is kept as it arrived and
// decoded only when someone looks at it, so a fast-changing page costs no decoding for frames
// nobody shows.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/win32/surface.h"

namespace Brovis::Engine {

class Screencast {
 public:
  // A frame as the browser sent it: PNG in base64. Its size is read from the image itself: the
  // browser can label a frame with a new view size while the image is still an older size.
  void receive(std::string base64Png);
  // The newest frame, decoded; null before the first one that decodes.
  const Win32::Surface* latest();
  int newestWidth() const { return newestWidth_; }
  int newestHeight() const { return newestHeight_; }
  std::uint64_t framesReceived() const { return framesReceived_; }

 private:
  std::string undecoded_;
  Win32::Surface decoded_;
  bool haveDecoded_ = false;
  int newestWidth_ = 0;
  int newestHeight_ = 0;
  std::uint64_t framesReceived_ = 0;
};

// The width and height in a base64 PNG's header; zeros when the data does not start as a PNG.
std::pair<int, int> Base64PngSize(std::string_view base64);

// Decodes base64 PNG into `out`; false, leaving `out` alone, when the data is not a valid image.
bool DecodeBase64Png(std::string_view base64, Win32::Surface& out);

}  // namespace Brovis::Engine
