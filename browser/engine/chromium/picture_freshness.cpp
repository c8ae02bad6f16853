#include "browser/engine/chromium/picture_freshness.h"

#include <algorithm>
#include <cmath>

#include "browser/engine/call_budget.h"
#include "browser/engine/chromium/browser_session.h"
#include "browser/engine/chromium/page_scripts.h"

namespace Brovis::Engine {

namespace {

using Clock = std::chrono::steady_clock;

// A fence settles at a rendering step that renders every change made before it was sent, and
// in the script world answers with the step's time: a frame dated after it shows the changes
// (see RenderedSteps).
// A frame follows a rendered change within a frame interval or two; none by then means the
// change drew nothing new.
constexpr std::chrono::milliseconds kQuietAfterFence{40};
// A fence the page does not settle within this long is given up.
constexpr std::chrono::milliseconds kFenceLimit{1000};

// Frames are encoded side by side and can arrive out of order: one dated before the newest kept
// (by less than a clock adjustment would set it back) is older than the picture, and not kept.
constexpr double kLongestReordering = 1000;
bool OutOfOrder(double time, double newest) {
  return time > 0 && newest > 0 && time < newest && time > newest - kLongestReordering;
}

// A fence's answer or a frame's metadata, read as a time in milliseconds; 0 when it holds none.
double TimeIn(const Json& holder, const char* key, double unit) {
  const double time = Field(holder, key, 0.0) * unit;
  return std::isfinite(time) && time > 0 ? time : 0;
}

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
  changedOutsideWorld_ = false;
  newestFrameTime_ = 0;
  fenceDated_ = false;
  steps_.clear();
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
  const double time = TimeIn(Field(params, "metadata", Json::object()), "timestamp", 1000);
  const bool kept = framesShown_ && data != params.end() && data->is_string() &&
                    !OutOfOrder(time, newestFrameTime_);
  if (kept) {
    screencast_.receive(data->get<std::string>());
    newestFrameTime_ = time;
    // A started screencast's first frame shows the page as it was when it started, which may be
    // before a change made just then was rendered: it does not count as a frame after the fence.
    // Without dates, the frames after the fence's answer are taken for its step's.
    const bool showsStep =
        !firstOfRun && time > 0 && steps_.frameKept(time, screencast_.framesReceived());
    if (!fenceDated_ || time == 0 || showsStep) ++framesOfFencedStep_;
  }
  if (firstOfRun && !fenceInFlight_) framesOfFencedStep_ = 0;
  pace(pacing_.frameArrived(now, forChange));
  return kept;
}

void PictureFreshness::noteChange() {
  framesBeforeChange_ = framesAtChangeSending_;
  changed();
}

void PictureFreshness::noteViewportChange() {
  pacing_.started(Clock::now());
  changedOutsideWorld_ = true;
  framesBeforeChange_ = screencast_.framesReceived();
  changed();
}

void PictureFreshness::changed() {
  ++changeGeneration_;
  pace(pacing_.changed(Clock::now()));
  postFence();
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
         (framesOfFencedStep_ == 0 && Clock::now() < fenceSettledAt_ + kQuietAfterFence);
}

void PictureFreshness::postFence() {
  if (fenceInFlight_ || !attached()) return;
  fenceInFlight_ = true;
  // In the script world, the fence waits for the step after the world's latest change, unless
  // something else changed since; the page's own world is not asked for more than the next step,
  // and its answer is not believed.
  const auto world = fenceContext_ ? fenceContext_() : std::nullopt;
  const bool afterWorldChanges = world && !changedOutsideWorld_;
  changedOutsideWorld_ = false;
  Json fence = {
      {"expression", afterWorldChanges ? Scripts::kRenderingAfterChanges : Scripts::kNextRendering},
      {"awaitPromise", true},
      {"returnByValue", true},
      {"silent", true}};
  if (world) fence["contextId"] = *world;
  connection_->post(
      "Runtime.evaluate", std::move(fence), sessionId_,
      [this, generation = changeGeneration_, framesBefore = framesBeforeChange_,
       attachment = attachment_, dated = world.has_value()](const CallResult& answer) {
        if (attachment != attachment_) return;
        // Every change counted when the fence was sent ran in the page before it, and so was
        // rendered by the step it settled at. A change made while the fence was on its way needs
        // a fence of its own. (A failure means the page went away: nothing is left to render
        // either.)
        fenceInFlight_ = false;
        // A fence that covers no change of its own says nothing about the frames to wait for.
        if (generation > fencedGeneration_) {
          fencedGeneration_ = generation;
          const double stepTime =
              dated && answer ? TimeIn(Field(*answer.result, "result", Json::object()), "value", 1)
                              : 0;
          fenceDated_ = stepTime > 0;
          // Steps waiting from another document's world are not waited for any more.
          if (!fenceDated_) steps_.clear();
          framesOfFencedStep_ = fenceDated_ && steps_.stepRendered(stepTime, framesBefore) ? 1 : 0;
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
  std::optional<Clock::time_point> restartedAt;
  while (attached()) {
    Clock::time_point until = deadline;
    const bool fenced = fencedGeneration_ >= changeGeneration_;
    if (fenced && !pacing_.startFramePending(Clock::now())) {
      // Every change is in a rendering step by now: a frame after the fence shows them all.
      if (framesOfFencedStep_ > 0 && screencast_.newestWidth() == width &&
          screencast_.newestHeight() == height)
        return;
      // No frame so soon after the fence: the changes drew nothing new.
      until = std::min(deadline, restartedAt.value_or(fenceSettledAt_) + kQuietAfterFence);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    if (left.count() <= 0) {
      if (restartedAt || !fenced || until >= deadline) return;
      // Or the browser dropped the frame that showed them, and sends none until the page
      // repaints again. A screencast started now sends the page as it is.
      restartScreencast();
      restartedAt = Clock::now();
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
