#include "browser/engine/chromium/picture_freshness.h"

#include <algorithm>

#include "browser/engine/call_budget.h"

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
  // Acknowledged at once: the browser sends no further frame until it is.
  if (connection_)
    connection_->post("Page.screencastFrameAck", {{"sessionId", Field(params, "sessionId", 0)}},
                      sessionId_);
  if (!framesShown_) return false;
  screencast_.receive(Field(params, "data", ""));
  return true;
}

void PictureFreshness::noteChange() {
  ++changeGeneration_;
  postFence();
}

void PictureFreshness::postFence() {
  if (fenceInFlight_ || !attached()) return;
  fenceInFlight_ = true;
  const std::uint64_t generation = changeGeneration_;
  Json fence = {{"expression", kRenderedFence}, {"awaitPromise", true}, {"silent", true}};
  if (const auto context = fenceContext_ ? fenceContext_() : std::nullopt)
    fence["contextId"] = *context;
  connection_->post(
      "Runtime.evaluate", std::move(fence), sessionId_,
      [this, generation, attachment = attachment_](const CallResult&) {
        if (attachment != attachment_) return;
        // Every change counted when the fence was sent ran in the page before it, and so before
        // the rendering step it waited for. A change answered while the fence was on its way may
        // have run after that step: it needs a fence of its own. (A failure means the page went
        // away: nothing is left to render either.)
        fenceInFlight_ = false;
        fencedGeneration_ = std::max(fencedGeneration_, generation);
        framesAtFence_ = screencast_.framesReceived();
        fenceSettledAt_ = Clock::now();
        if (fencedGeneration_ < changeGeneration_) postFence();
      },
      kFenceLimit);
}

const Win32::Surface* PictureFreshness::picture(std::chrono::milliseconds waitLimit, int width,
                                                int height) {
  if (waitLimit.count() > 0 && shownGeneration_ < changeGeneration_ && attached()) {
    if (fencedGeneration_ < changeGeneration_) postFence();
    awaitFreshPicture(CallBudget::Deadline(Clock::now() + waitLimit), width, height);
    // Waited once: a change that draws nothing new must not hold up every later print.
    shownGeneration_ = changeGeneration_;
  }
  return screencast_.latest();
}

void PictureFreshness::awaitFreshPicture(Clock::time_point deadline, int width, int height) {
  while (attached()) {
    Clock::time_point until = deadline;
    if (fencedGeneration_ >= changeGeneration_) {
      // Every change is in a rendering step by now: a frame after the fence shows them all.
      if (screencast_.framesReceived() > framesAtFence_ && screencast_.newestWidth() == width &&
          screencast_.newestHeight() == height)
        return;
      // No frame so soon after the fence: the changes drew nothing new.
      until = std::min(deadline, fenceSettledAt_ + kQuietAfterFence);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    if (left.count() <= 0) return;
    connection_->waitAndPoll(left);
  }
}

}  // namespace Brovis::Engine
