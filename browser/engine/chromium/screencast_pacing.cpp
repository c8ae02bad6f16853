#include "browser/engine/chromium/screencast_pacing.h"

#include <algorithm>
#include <utility>

namespace Brovis::Engine {

ScreencastPacing::Step ScreencastPacing::start(Clock::time_point now, bool forRedraw) {
  running_ = firstFramePending_ = startedHere_ = true;
  stoppedIdle_ = false;
  startedAt_ = lastActivity_ = now;
  repaintsThisRun_ = 0;
  probing_ = paced_ && forRedraw && ++starts_ % kProbeEvery == 0;
  oneShot_ = paced_ && !probing_;
  return oneShot_ && forRedraw ? Step::StartForOneFrame : Step::Start;
}

ScreencastPacing::Step ScreencastPacing::stop(bool idle) {
  running_ = firstFramePending_ = false;
  stoppedIdle_ = idle;
  return Step::Stop;
}

ScreencastPacing::Step ScreencastPacing::redrawn(Clock::time_point now) {
  const int repaints = std::exchange(repaintsSinceRedraw_, 0);
  if (!running_ || silent(now)) return start(now, true);
  lastActivity_ = now;
  if (probing_) {
    // Nothing repainted since the probe's first frame: the page is watched from now on.
    if (!firstFramePending_ && repaintsThisRun_ == 0) paced_ = probing_ = false;
  } else if (!oneShot_ && repaints >= 2) {
    paced_ = oneShot_ = true;
  }
  return Step::None;
}

ScreencastPacing::Step ScreencastPacing::changed(Clock::time_point now) {
  if (!running_ || silent(now)) return start(now, false);
  lastActivity_ = now;
  return Step::None;
}

ScreencastPacing::Step ScreencastPacing::frameArrived(Clock::time_point now, bool forChange) {
  const bool first = std::exchange(firstFramePending_, false);
  if (!first && !forChange) {
    // Counted only as far as the decisions look.
    repaintsSinceRedraw_ = std::min(repaintsSinceRedraw_ + 1, 2);
    repaintsThisRun_ = std::min(repaintsThisRun_ + 1, 2);
  }
  if (!running_ || forChange) return Step::None;
  if (now - lastActivity_ >= kIdleAfter) return stop(true);
  if (oneShot_ || (probing_ && repaintsThisRun_ > 0)) return stop(false);
  return Step::None;
}

}  // namespace Brovis::Engine
