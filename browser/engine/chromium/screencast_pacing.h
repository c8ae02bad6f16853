#pragma once
// When the page's screencast runs. While it runs, the browser captures and encodes a picture of
// every repaint, which costs it more than an animation itself does, and the displays take one
// picture per redraw. So a page that repaints faster than the displays are drawn gets one picture
// per redraw: the screencast starts at the redraw (a started screencast sends the page as it is
// at once) and stops at that frame. Every few redraws it runs on past that frame, to see whether
// the page still repaints; a page that does not is watched by a running screencast, which costs
// nothing while nothing repaints. While nobody draws or changes the page, it stops.
#include <chrono>
#include <cstdint>

namespace Brovis::Engine {

class ScreencastPacing {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Step {
    None,
    Start,
    // Start, for the first frame only: the browser need not prepare any frame beyond it.
    StartForOneFrame,
    Stop,
  };

  // Nobody has drawn or changed the page for this long: the screencast stops at its next frame.
  static constexpr std::chrono::seconds kIdleAfter{2};
  // Every this many starts of a page that repaints, the screencast runs on past its first frame.
  static constexpr std::uint64_t kProbeEvery = 8;
  // A started screencast sends its first frame within this long, or none: one started while the
  // page was between documents can stay silent for good, and is started again.
  static constexpr std::chrono::milliseconds kFirstFrameLimit{500};

  // The browser's screencast was started from outside (a new page, a new view size): it runs.
  void started(Clock::time_point now) {
    start(now, false);
    startedHere_ = false;
  }
  // A display's redraw took the newest picture.
  Step redrawn(Clock::time_point now);
  // The page was changed: its picture must come, whether or not a display is drawn.
  Step changed(Clock::time_point now);
  // A frame arrived; `forChange` when a change was waiting for its picture, which the screencast
  // keeps running for.
  Step frameArrived(Clock::time_point now, bool forChange);
  // The screencast was stopped from outside.
  void stopped() { stop(true); }

  bool running() const { return running_; }
  // The screencast was started for a redraw or a change and has not sent its first frame yet;
  // that frame shows the page as it was when the screencast started.
  bool startFramePending(Clock::time_point now) const {
    return startedHere_ && firstFramePending_ && now - startedAt_ < kFirstFrameLimit;
  }
  // The screencast is stopped, and the page may have moved on far from its last picture: it was
  // stopped while nobody drew, or it repaints and nobody drew it for a while.
  bool behind(Clock::time_point now) const {
    return !running_ && (stoppedIdle_ || (paced_ && now - lastActivity_ >= kIdleAfter));
  }
  // The page repaints faster than the displays are drawn.
  bool paced() const { return paced_; }

 private:
  Step start(Clock::time_point now, bool forRedraw);
  Step stop(bool idle);
  // Started, and silent ever since.
  bool silent(Clock::time_point now) const {
    return running_ && firstFramePending_ && now - startedAt_ >= kFirstFrameLimit;
  }

  bool running_ = false;
  bool firstFramePending_ = false;
  bool startedHere_ = false;
  bool stoppedIdle_ = false;
  bool paced_ = false;
  // This run stops at its first frame (or the first after a change's); or, probing, at the
  // page's first repaint.
  bool oneShot_ = false;
  bool probing_ = false;
  Clock::time_point startedAt_{};
  Clock::time_point lastActivity_{};
  // The page's own repaints (neither a run's first frame nor a change's) since the last redraw,
  // and since the screencast started.
  int repaintsSinceRedraw_ = 0;
  int repaintsThisRun_ = 0;
  std::uint64_t starts_ = 0;
};

}  // namespace Brovis::Engine
