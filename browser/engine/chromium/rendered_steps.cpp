#include "browser/engine/chromium/rendered_steps.h"

namespace Brovis::Engine {

namespace {
// A frame dated within half a frame interval of a step cannot show it.
constexpr double kHalfFrameInterval = 1000.0 / 60 / 2;
bool Shows(double frameTime, double stepTime) { return frameTime > stepTime + kHalfFrameInterval; }
}  // namespace

bool RenderedSteps::stepRendered(double time, std::uint64_t framesBefore) {
  if (time <= shownUpTo_) return true;
  if (!waiting_.empty() && time <= waiting_.back()) return false;
  if (waiting_.empty() && spareTime_ > 0 && spareIndex_ > framesBefore && Shows(spareTime_, time)) {
    shownUpTo_ = time;
    spareTime_ = 0;
    return true;
  }
  if (waiting_.size() == kMostWaiting) waiting_.pop_front();
  waiting_.push_back(time);
  return false;
}

bool RenderedSteps::frameKept(double time, std::uint64_t index) {
  if (waiting_.empty() || !Shows(time, waiting_.front())) {
    spareTime_ = time;
    spareIndex_ = index;
    return false;
  }
  shownUpTo_ = waiting_.front();
  waiting_.pop_front();
  spareTime_ = 0;
  return waiting_.empty();
}

void RenderedSteps::clear() {
  waiting_.clear();
  shownUpTo_ = spareTime_ = 0;
  spareIndex_ = 0;
}

}  // namespace Brovis::Engine
