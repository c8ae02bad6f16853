#pragma once
// How often a browser that died or hung is replaced: at once, up to a few times within a window
// of time; after that the engine waits until the pilot loads an address, which forgives what
// failed before.
#include <chrono>
#include <deque>

namespace Brovis::Engine {

class RestartPolicy {
 public:
  using Clock = std::chrono::steady_clock;

  static constexpr int kMaxRestarts = 5;
  static constexpr std::chrono::seconds kWindow{60};

  // A browser was lost at `now`: true when another may be started, which is then counted.
  bool allowRestart(Clock::time_point now);
  // The pilot asks for a page: the browser gets its chances back.
  void forgive();
  // Restarts were refused until the pilot forgives them.
  bool suspended() const { return suspended_; }
  // Restarts made so far, over the engine's whole life.
  int restartsMade() const { return restartsMade_; }

 private:
  std::deque<Clock::time_point> recent_;
  bool suspended_ = false;
  int restartsMade_ = 0;
};

}  // namespace Brovis::Engine
