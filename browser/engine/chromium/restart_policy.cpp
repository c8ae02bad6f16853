#include "browser/engine/chromium/restart_policy.h"

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

void RestartPolicy::forgive() {
  suspended_ = false;
  recent_.clear();
}

}  // namespace Brovis::Engine
