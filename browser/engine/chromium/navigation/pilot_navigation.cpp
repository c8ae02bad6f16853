#include "browser/engine/chromium/navigation/pilot_navigation.h"

#include <algorithm>
#include <utility>

namespace Brovis::Engine {

void PilotNavigation::started(std::string url, bool retry) {
  forget();
  retries_ = retry ? retries_ + 1 : 0;
  active_ = true;
  url_ = std::move(url);
}

std::optional<std::string> PilotNavigation::answered(std::optional<std::string> loaderId) {
  if (!active_) return std::nullopt;
  if (!loaderId || loaderId->empty()) {
    forget();
    return std::nullopt;
  }
  // The pilot's own start may have been noted among the others before its loader was known.
  loaderId_ = std::move(*loaderId);
  others_.erase(loaderId_);
  return check();
}

void PilotNavigation::startedNavigating(std::string_view loaderId) {
  if (!active_ || pilotCommitted() || loaderId == loaderId_ || others_.size() >= kMaxTracked)
    return;
  others_.emplace(loaderId);
}

std::optional<std::string> PilotNavigation::committed(std::string_view loaderId) {
  if (!active_) return std::nullopt;
  if (commits_.size() >= kMaxTracked) {
    forget();
    return std::nullopt;
  }
  commits_.emplace_back(loaderId);
  return check();
}

bool PilotNavigation::pilotCommitted() const {
  return !loaderId_.empty() && std::ranges::find(commits_, loaderId_) != commits_.end();
}

std::optional<std::string> PilotNavigation::check() {
  if (loaderId_.empty()) return std::nullopt;
  const auto pilot = std::ranges::find(commits_, loaderId_);
  if (pilot == commits_.end()) return std::nullopt;
  for (const std::string& other : others_) {
    const bool before = std::find(commits_.begin(), pilot, other) != pilot;
    if (before) continue;
    // It committed over the pilot's page, or it is still on its way to do so.
    if (retries_ >= kMaxRetries) {
      forget();
      return std::nullopt;
    }
    return url_;
  }
  return std::nullopt;
}

void PilotNavigation::forget() {
  active_ = false;
  loaderId_.clear();
  others_.clear();
  commits_.clear();
}

}  // namespace Brovis::Engine
