#include "browser/engine/chromium/frames/frame_driver.h"

#include "browser/engine/call_budget.h"

namespace Brovis::Engine {

namespace {
using Clock = std::chrono::steady_clock;
}  // namespace

void FrameDriver::attach(Connection& connection, std::string sessionId) {
  connection_ = &connection;
  sessionId_ = std::move(sessionId);
  ++attachment_;
  shown_ = false;
  inFlight_ = false;
  // Whatever the display shows is of the browser before.
  pacing_.changed();
}

void FrameDriver::detach() {
  connection_ = nullptr;
  sessionId_.clear();
  ++attachment_;
  shown_ = false;
  inFlight_ = false;
}

void FrameDriver::ask(FramePacing::Ask ask) {
  if (ask == FramePacing::Ask::Nothing || inFlight_ || !attached()) return;
  Json params = Json::object();
  if (ask == FramePacing::Ask::Picture)
    // Lossless, so that a page's colours (the selection outline's red) arrive exactly.
    params["screenshot"] = {{"format", "png"}, {"optimizeForSpeed", true}};
  inFlight_ = true;
  pacing_.asked(ask, Clock::now());
  connection_->post(
      "HeadlessExperimental.beginFrame", std::move(params), sessionId_,
      [this, ask, generation = pacing_.generation(),
       attachment = attachment_](const CallResult& answer) {
        if (attachment == attachment_) answered(ask, generation, answer);
      },
      kFrameLimit);
}

void FrameDriver::answered(FramePacing::Ask ask, std::uint64_t generation,
                           const CallResult& answer) {
  inFlight_ = false;
  const Json empty = Json::object();
  const Json& result = answer ? *answer.result : empty;
  if (ask == FramePacing::Ask::Probe)
    return this->ask(pacing_.probeAnswered(Field(result, "hasDamage", false)));
  const auto data = result.find("screenshotData");
  const bool gotPicture = data != result.end() && data->is_string() && !data->empty();
  const bool news = gotPicture && picture_.receive(data->get<std::string>());
  pacing_.pictureAnswered(generation, gotPicture, !news);
  if (news && !waiting_ && newPicture_) newPicture_();
}

const Win32::Surface* FrameDriver::picture(std::chrono::milliseconds waitLimit) {
  if (waitLimit.count() <= 0 || !attached()) return picture_.latest();
  const auto now = Clock::now();
  const FramePacing::Ask wanted = pacing_.redrawn(now);
  if (!pacing_.waitOwed()) {
    ask(wanted);
    return picture_.latest();
  }
  // A change waits for its picture, asked for after whatever frame is on its way.
  const auto deadline = CallBudget::Deadline(now + waitLimit);
  waiting_ = true;
  for (int tries = 0; attached() && pacing_.pictureOwed();) {
    if (!inFlight_) {
      if (tries++ == kTriesPerRedraw) break;
      ask(FramePacing::Ask::Picture);
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) break;
    connection_->waitAndPoll(left);
  }
  waiting_ = false;
  // Waited once: a change whose picture does not come must not hold up every later redraw.
  pacing_.waited();
  return picture_.latest();
}

}  // namespace Brovis::Engine
