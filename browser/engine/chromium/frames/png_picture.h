#pragma once
// The newest picture of the page as the browser sent it, PNG in base64: kept as it arrived and
// decoded only when someone looks at it, so that a picture nobody shows costs no decoding.
#include <string>
#include <string_view>

#include "platform/win32/surface.h"

namespace Brovis::Engine {

class NewestPicture {
 public:
  // Keeps `base64Png` as the newest picture; false when it is the same as the one before.
  bool receive(std::string base64Png);
  // The newest picture, decoded; null before the first one that decodes. A picture that does
  // not decode leaves the one before it.
  const Win32::Surface* latest();

 private:
  // The newest picture's data, also to tell a picture that shows nothing new.
  std::string newest_;
  bool decodePending_ = false;
  Win32::Surface decoded_;
  bool haveDecoded_ = false;
};

// Decodes base64 PNG into `out`; false, leaving `out` alone, when the data is not a valid image.
bool DecodeBase64Png(std::string_view base64, Win32::Surface& out);

}  // namespace Brovis::Engine
