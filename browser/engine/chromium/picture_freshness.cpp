#include "browser/engine/chromium/picture_freshness.h"

#include <algorithm>

#include "browser/engine/call_budget.h"
#include "browser/engine/chromium/browser_session.h"

namespace Brovis::Engine {

namespace {

using Clock = std::chrono::steady_clock;

// A fence in the page: it settles at the start of the next rendering step, which renders every
// change made before it. The frame of that step arrives after the fence's answer, on the same
// ordered pipe.
constexpr const char* kRenderedFence = "new Promise(r => requestAnimationFrame(() => r()))";
// A frame follows a rendered change within a frame interval or two; none by then means the
// change drew nothing new.
constexpr std::chrono::milliseconds kQuietAfterFence{40};
// A fence the page does not settle within this long is given up.
constexpr std::chrono::milliseconds kFenceLimit{1000};

}  // namespace

void PictureFreshness::attach(Connection& connection, std::string sessionId,
                              FenceContext fenceContext) {
  connection_ = &connection;
  sessionId_ = std::move(sessionId);
  fenceContext_ = std::move(fenceContext);
  ++attachment_;
  pacing_.started(Clock::now());
}

void PictureFreshness::detach() {
  connection_ = nullptr;
  sessionId_.clear();
  fenceContext_ = nullptr;
  ++attachment_;
  framesShown_ = false;
  fenceInFlight_ = false;
  fencedGeneration_ = shownGeneration_ = changeGeneration_;
}

bool PictureFreshness::frameArrived(const Json& params) {
  // Acknowledged at once: the browser sends only a few frames ahead of their acknowledgements.
  if (connection_)
    connection_->post("Page.screencastFrameAck", {{"sessionId", Field(params, "sessionId", 0)}},
                      sessionId_);
  const auto now = Clock::now();
  const bool forChange = pictureAwaited();
  const bool firstOfRun = pacing_.startFramePending(now);
  const auto data = params.find("data");
  const bool kept = framesShown_ && data != params.end() && data->is_string();
  if (kept) screencast_.receive(data->get<std::string>());
  // A started screencast's first frame shows the page as it was when it started, which may be
  // before a change made just then was rendered: it does not count as a frame after the fence.
  if (firstOfRun && !fenceInFlight_) framesAtFence_ = screencast_.framesReceived();
  pace(pacing_.frameArrived(now, forChange));
  return kept;
}

void PictureFreshness::noteChange() {
  ++changeGeneration_;
  pace(pacing_.changed(Clock::now()));
  postFence();
}

void PictureFreshness::noteViewportChange() {
  pacing_.started(Clock::now());
  noteChange();
}

void PictureFreshness::stopScreencast() {
  pacing_.stopped();
  pace(ScreencastPacing::Step::Stop);
}

void PictureFreshness::pace(ScreencastPacing::Step step) {
  using Step = ScreencastPacing::Step;
  if (step == Step::None || !attached()) return;
  if (step == Step::Stop)
    return connection_->post("Page.stopScreencast", Json::object(), sessionId_);
  Json parameters = ScreencastParameters();
  // Whatever the page repaints after that first frame, before the screencast stops, is not
  // encoded and sent.
  if (step == Step::StartForOneFrame) parameters["maxFramesInFlight"] = 1;
  connection_->post("Page.startScreencast", std::move(parameters), sessionId_);
}

bool PictureFreshness::pictureAwaited() const {
  return fenceInFlight_ || fencedGeneration_ < changeGeneration_ ||
         (screencast_.framesReceived() <= framesAtFence_ &&
          Clock::now() < fenceSettledAt_ + kQuietAfterFence);
}

void PictureFreshness::postFence() {
  if (fenceInFlight_ || !attached()) return;
  fenceInFlight_ = true;
  Json fence = {{"expression", kRenderedFence}, {"awaitPromise", true}, {"silent", true}};
  if (const auto context = fenceContext_ ? fenceContext_() : std::nullopt)
    fence["contextId"] = *context;
  connection_->post(
      "Runtime.evaluate", std::move(fence), sessionId_,
      [this, generation = changeGeneration_, attachment = attachment_](const CallResult&) {
        if (attachment != attachment_) return;
        // Every change counted when the fence was sent ran in the page before it, and so before
        // the rendering step it waited for. A change made while the fence was on its way needs
        // a fence of its own, even when its answer came first: it may have run after that step,
        // whose fence answers only once the step's own work is done. (A failure means the page
        // went away: nothing is left to render either.)
        fenceInFlight_ = false;
        // A fence that covers no change of its own says nothing about the frames to wait for.
        if (generation > fencedGeneration_) {
          fencedGeneration_ = generation;
          framesAtFence_ = screencast_.framesReceived();
          fenceSettledAt_ = Clock::now();
        }
        if (fencedGeneration_ < changeGeneration_) postFence();
      },
      kFenceLimit);
}

const Win32::Surface* PictureFreshness::picture(std::chrono::milliseconds waitLimit, int width,
                                                int height) {
  if (waitLimit.count() <= 0 || !attached()) return screencast_.latest();
  // A screencast stopped while nobody drew starts again now; the page may have moved on far
  // from the last picture, so this print waits for the new one as for a change.
  const bool behind = pacing_.behind(Clock::now());
  pace(pacing_.redrawn(Clock::now()));
  if (shownGeneration_ < changeGeneration_ || behind) {
    if (fencedGeneration_ < changeGeneration_) postFence();
    awaitFreshPicture(CallBudget::Deadline(Clock::now() + waitLimit), width, height);
    // Waited once: a change that draws nothing new must not hold up every later print.
    shownGeneration_ = changeGeneration_;
  }
  return screencast_.latest();
}

void PictureFreshness::awaitFreshPicture(Clock::time_point deadline, int width, int height) {
  auto quietFrom = fenceSettledAt_;
  bool restarted = false;
  while (attached()) {
    Clock::time_point until = deadline;
    const bool fenced = fencedGeneration_ >= changeGeneration_;
    if (fenced && !pacing_.startFramePending(Clock::now())) {
      // Every change is in a rendering step by now: a frame after the fence shows them all.
      if (screencast_.framesReceived() > framesAtFence_ && screencast_.newestWidth() == width &&
          screencast_.newestHeight() == height)
        return;
      // No frame so soon after the fence: the changes drew nothing new.
      until = std::min(deadline, quietFrom + kQuietAfterFence);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    if (left.count() <= 0) {
      if (restarted || !fenced || until >= deadline) return;
      // Or the browser dropped the frame that showed them, and sends none until the page
      // repaints again. A screencast started now sends the page as it is.
      restartScreencast();
      restarted = true;
      quietFrom = Clock::now();
      continue;
    }
    connection_->waitAndPoll(left);
  }
}

void PictureFreshness::restartScreencast() {
  pacing_.started(Clock::now());
  connection_->post("Page.stopScreencast", Json::object(), sessionId_);
  connection_->post("Page.startScreencast", ScreencastParameters(), sessionId_);
}

}  // namespace Brovis::Engine
