#pragma once
// The page's frames, driven by the displays: the browser renders only the frames asked for here,
// one at a time, and a frame asked for with a picture shows every change made before it was
// asked. A display's redraw asks for what the pacing says; after a change it waits, within its
// limit, for the picture that shows it, and otherwise takes the newest picture at once, leaving
// a frame on its way for the next redraw. While nobody draws, nothing is rendered.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "browser/engine/chromium/frames/frame_pacing.h"
#include "browser/engine/chromium/frames/png_picture.h"
#include "browser/engine/chromium/protocol/connection.h"
#include "platform/win32/surface.h"

namespace Brovis::Engine {

class FrameDriver {
 public:
  // Called when a picture that shows something new arrives outside a redraw's wait.
  explicit FrameDriver(std::function<void()> newPicture) : newPicture_(std::move(newPicture)) {}

  // A browser's page is attached: frames are asked of it. Until showPictures(), none are (a new
  // browser shows its blank start page until the address loaded in it commits).
  void attach(Connection& connection, std::string sessionId);
  // The browser goes. Its last picture stays until the next page shows its own.
  void detach();
  void showPictures() { shown_ = true; }

  // The page was changed through the module (or its view size, or a load completed): the first
  // redraw after it shows the change.
  void changed() { pacing_.changed(); }
  // The newest picture, or none before the first. A print (a `waitLimit` above zero) is a
  // display's redraw: it asks for a frame and, when a change is owed its picture, waits up to
  // `waitLimit` (and the caller's budget) for it.
  const Win32::Surface* picture(std::chrono::milliseconds waitLimit);

  // How long a frame may take before it is given up and another may be asked for.
  static constexpr std::chrono::seconds kFrameLimit{3};
  // A redraw asks this many times at most for a picture that came without one (the first frames
  // of a new document can come empty).
  static constexpr int kTriesPerRedraw = 3;

 private:
  bool attached() const { return connection_ && !connection_->closed() && shown_; }
  void ask(FramePacing::Ask ask);
  void answered(FramePacing::Ask ask, std::uint64_t generation, const CallResult& answer);

  std::function<void()> newPicture_;
  Connection* connection_ = nullptr;
  std::string sessionId_;
  bool shown_ = false;
  // Tells an answer meant for a browser already gone from one of the attached browser.
  std::uint64_t attachment_ = 0;
  bool inFlight_ = false;
  // A redraw waits for a picture: the one that comes is not news for later.
  bool waiting_ = false;
  FramePacing pacing_;
  NewestPicture picture_;
};

}  // namespace Brovis::Engine
