#include "browser/engine/chromium/process/restart_policy.h"

#include <algorithm>

namespace Brovis::Engine {

bool RestartPolicy::allowRestart(Clock::time_point now) {
  if (suspended_) return false;
  while (!recent_.empty() && now - recent_.front() > kWindow) recent_.pop_front();
  if (static_cast<int>(recent_.size()) >= kMaxRestarts) {
    suspended_ = true;
    return false;
  }
  recent_.push_back(now);
  ++restartsMade_;
  return true;
}

void RestartPolicy::startFailed(Clock::time_point now) {
  // 1, 2, 4, ... seconds, up to the longest pause; the count stops well before the shift could
  // overflow.
  const auto pause =
      std::min<std::chrono::seconds>(kFirstRetryPause * (1 << failuresInARow_), kLongestRetryPause);
  failuresInARow_ = std::min(failuresInARow_ + 1, 16);
  retryAt_ = now + pause;
}

void RestartPolicy::forgive() {
  suspended_ = false;
  recent_.clear();
  retryAt_ = {};
}

}  // namespace Brovis::Engine
