#pragma once
// Whether the newest picture of the page shows every change made to it. Changes made through the
// engine (and resizes) are counted; a fence in the page settles at the rendering step that shows
// them and tells that step's time, by which the frame of that step is told from older ones; a
// print waits, within its limit, for that frame. The screencast runs at the pace the displays are
// drawn.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "browser/engine/chromium/connection.h"
#include "browser/engine/chromium/rendered_steps.h"
#include "browser/engine/chromium/screencast.h"
#include "browser/engine/chromium/screencast_pacing.h"
#include "platform/win32/surface.h"

namespace Brovis::Engine {

class PictureFreshness {
 public:
  // The script context fences run in, when there is one of the module's own.
  using FenceContext = std::function<std::optional<int>()>;

  // A browser's page is attached, its screencast started: fences, acknowledgements and the
  // screencast's pace go to it.
  void attach(Connection& connection, std::string sessionId, FenceContext fenceContext);
  // The browser goes. Its last picture stays until the next page shows its own.
  void detach();
  // Frames are kept from a page from now on, or ignored until then (a browser started again
  // shows its blank start page first).
  void showFrames(bool show) { framesShown_ = show; }

  // A screencast frame: acknowledged, and kept when frames are shown. True when kept.
  bool frameArrived(const Json& params);
  // A call of the module's script world that may change how the page looks is about to be sent.
  void noteChangeSending() { framesAtChangeSending_ = screencast_.framesReceived(); }
  // Such a call changed it.
  void noteChange();
  // The view has a new size, and its screencast was started again: a change, whose frames are
  // told apart by their size.
  void noteViewportChange();
  // The newest picture, or none before the first. A print (a `waitLimit` above zero) is a
  // display's redraw; when a change was made after the picture, or the screencast was stopped
  // while nobody drew, it waits up to `waitLimit` (and the caller's budget) for a picture of
  // width x height that shows the page as it is.
  const Win32::Surface* picture(std::chrono::milliseconds waitLimit, int width, int height);
  // Stops the screencast until the next redraw or change.
  void stopScreencast();

 private:
  bool attached() const { return connection_ && !connection_->closed(); }
  void changed();
  void postFence();
  void pace(ScreencastPacing::Step step);
  // A change waits for its picture: its fence is out, or settled a moment ago and no frame has
  // come after it.
  bool pictureAwaited() const;
  void awaitFreshPicture(std::chrono::steady_clock::time_point deadline, int width, int height);
  // Starts the screencast afresh, for a picture of the page as it is now.
  void restartScreencast();

  Connection* connection_ = nullptr;
  std::string sessionId_;
  FenceContext fenceContext_;
  Screencast screencast_;
  ScreencastPacing pacing_;
  bool framesShown_ = true;

  // Changes counted, and how far fences and prints have caught up with them.
  std::uint64_t changeGeneration_ = 0;
  std::uint64_t fencedGeneration_ = 0;
  std::uint64_t shownGeneration_ = 0;
  bool fenceInFlight_ = false;
  // A change made since the last fence was sent that the script world knows nothing of.
  bool changedOutsideWorld_ = false;
  // Tells a fence of a browser already gone from one of the attached browser.
  std::uint64_t attachment_ = 0;
  // The newest settled fence: when it settled, whether it told its rendering step's time, and
  // how many frames of that step or a later one have arrived.
  std::chrono::steady_clock::time_point fenceSettledAt_{};
  bool fenceDated_ = false;
  std::uint64_t framesOfFencedStep_ = 0;
  RenderedSteps steps_;
  // How many frames had been kept when the newest change was sent, and when the newest call that
  // may change the page was sent: those frames cannot show it.
  std::uint64_t framesBeforeChange_ = 0;
  std::uint64_t framesAtChangeSending_ = 0;
  // The date of the newest frame kept, in the same clock; 0 when it has none.
  double newestFrameTime_ = 0;
};

}  // namespace Brovis::Engine
