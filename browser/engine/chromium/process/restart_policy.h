#pragma once
// When a new browser may start. One that died or hung after it came up is replaced at once, up
// to a few times within a window of time; after that the engine waits until the pilot loads an
// address, which forgives what failed before. One that could not be started, or never came up,
// is tried again after a pause that grows with each failure in a row, and at once when the pilot
// loads an address.
#include <chrono>
#include <deque>

namespace Brovis::Engine {

class RestartPolicy {
 public:
  using Clock = std::chrono::steady_clock;

  static constexpr int kMaxRestarts = 5;
  static constexpr std::chrono::seconds kWindow{60};
  static constexpr std::chrono::seconds kFirstRetryPause{1};
  static constexpr std::chrono::seconds kLongestRetryPause{30};

  // A browser that had come up was lost at `now`: true when another may be started, which is
  // then counted.
  bool allowRestart(Clock::time_point now);
  // A browser could not be started, or did not come up, at `now`.
  void startFailed(Clock::time_point now);
  // A browser came up: the next failure waits the shortest pause again.
  void startSucceeded() { failuresInARow_ = 0; }
  // A failed start waits to be tried again; it is due once `now` reaches retryAt().
  bool retrying() const { return failuresInARow_ > 0; }
  Clock::time_point retryAt() const { return retryAt_; }
  // The pilot asks for a page: the browser gets its chances back, and a failed start is tried
  // again at once.
  void forgive();
  // Restarts were refused until the pilot forgives them.
  bool suspended() const { return suspended_; }
  // Restarts made so far, over the engine's whole life.
  int restartsMade() const { return restartsMade_; }

 private:
  std::deque<Clock::time_point> recent_;
  bool suspended_ = false;
  int restartsMade_ = 0;
  int failuresInARow_ = 0;
  Clock::time_point retryAt_{};
};

}  // namespace Brovis::Engine
