#pragma once
// Which screencast frame shows which rendering step, when both are dated in the browser's clock
// (milliseconds since the epoch). The browser dates a frame by the display tick it was captured
// at, a frame interval or more after the step it shows, and sends one frame for every step that
// drew something new, in the order of the steps; a busy browser can date the frame of an
// earlier step as late as the next step's own. So frames pay the steps waiting for them in
// order, each the oldest it can show. A step that drew nothing new keeps the later ones
// waiting, which costs a print its quiet time but never shows it an older picture.
#include <cstddef>
#include <cstdint>
#include <deque>

namespace Brovis::Engine {

class RenderedSteps {
 public:
  // A step at `time` rendered the newest changes, which were sent when `framesBefore` frames had
  // been kept. True when a frame kept already shows it.
  bool stepRendered(double time, std::uint64_t framesBefore);
  // The `index`th frame, dated `time`, was kept. True when it shows the newest step waiting.
  bool frameKept(double time, std::uint64_t index);
  void clear();

 private:
  // Steps waiting for their frames, oldest first; at most a few, the oldest given up first.
  std::deque<double> waiting_;
  static constexpr std::size_t kMostWaiting = 8;
  // The newest step shown: every step up to it is.
  double shownUpTo_ = 0;
  // The newest frame that showed no waiting step (it may be of a step whose fence has not
  // answered yet): its date and index, or a date of 0.
  double spareTime_ = 0;
  std::uint64_t spareIndex_ = 0;
};

}  // namespace Brovis::Engine
