#pragma once
// What the frame driver asks of a browser's page: the size of its view, and its frames, one at a
// time. The driver sees no protocol: the page's session is behind this, and tests put their own
// page here.
#include <chrono>
#include <functional>
#include <string>

#include "browser/engine/chromium/frames/view_size.h"

namespace Brovis::Engine {

struct FrameAnswer {
  // The frame changed what the view shows.
  bool damage = false;
  // Its picture, PNG in base64; empty when it brought none, failed or timed out.
  std::string picture;
};

class FrameTarget {
 public:
  using Answered = std::function<void(const FrameAnswer&)>;
  using Resized = std::function<void(bool laidOut)>;

  virtual ~FrameTarget() = default;
  // Gives the view a new size and returns at once. `resized` runs once: with true when the page
  // is laid out at the size, so that frames asked from then on show it at that size; with false
  // when that could not be seen within `limit`. A frame asked before may show the page as laid
  // out at the size before, in a picture of the new size.
  virtual void resizeView(ViewSize size, std::chrono::milliseconds limit, Resized resized) = 0;
  // Asks for one frame, with a picture or without; `answered` runs once, when its answer is
  // read, or with an empty answer when it fails or `limit` passes first.
  virtual void beginFrame(bool withPicture, std::chrono::milliseconds limit, Answered answered) = 0;
  // Waits up to `limit` for what the browser sends and handles it.
  virtual void waitAndPoll(std::chrono::milliseconds limit) = 0;
  // The page cannot be reached any more.
  virtual bool closed() const = 0;
};

}  // namespace Brovis::Engine
