#pragma once
// Which frames the displays' redraws ask the browser for. The browser renders nothing unless a
// frame is asked for, and a frame with a picture costs it several times one without. So:
// - A change made through the module (or a new view size, or a completed load) owes a picture,
//   and the first redraw after it waits for that picture.
// - Around such a change, and while the page changes on its own, every redraw asks for a
//   picture; two pictures in a row that show nothing new end that.
// - A still page is watched with frames without a picture, a few times a second: one that
//   reports damage asks for a picture at once. The frame right after a picture always reports
//   damage (the picture's own), so that report is not believed; a real change reports damage
//   in two frames in a row, and the second one tells.
// - Nobody drawing means no frames at all. The first redraw after a pause owes a picture, as
//   after a change: the page may have moved on meanwhile.
#include <chrono>
#include <cstdint>

namespace Brovis::Engine {

class FramePacing {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Ask { Nothing, Probe, Picture };

  // A still page is asked for a frame without a picture this often.
  static constexpr std::chrono::milliseconds kProbeInterval{350};
  // Redraws further apart than this find the page after a pause.
  static constexpr std::chrono::milliseconds kPauseAfter{1000};
  // Pictures in a row that show nothing new before the page counts as still.
  static constexpr int kSamePicturesToSettle = 2;

  // The page was changed through the module: the next picture must show it.
  void changed();
  // A display's redraw at `now`: what to ask for, when no frame is on its way.
  Ask redrawn(Clock::time_point now);
  // A frame asked for at the redraw is being sent now.
  void asked(Ask ask, Clock::time_point now);
  // The answer of a frame without a picture; Picture when one should be asked for at once.
  Ask probeAnswered(bool damage);
  // The answer of a frame asked for with a picture, sent when `generation` changes had been made:
  // whether it brought a picture, and whether that shows anything new.
  void pictureAnswered(std::uint64_t generation, bool gotPicture, bool samePicture);

  // The changes made so far; a picture asked for now shows them all.
  std::uint64_t generation() const { return changes_; }
  // A change (or a pause) has not been shown by a picture yet.
  bool pictureOwed() const { return shown_ < changes_; }
  // A redraw has not yet waited for the newest change: it waits, once, for its picture.
  bool waitOwed() const { return waited_ < changes_; }
  // The redraw waited for the changes made so far, whether the picture came or not.
  void waited() { waited_ = changes_; }

 private:
  std::uint64_t changes_ = 0;
  std::uint64_t shown_ = 0;
  std::uint64_t waited_ = 0;
  // Every redraw asks for a picture: the page was changed, or changes on its own.
  bool lively_ = true;
  int samePictures_ = 0;
  // The next frame without a picture will report the last picture's damage.
  bool echoDue_ = false;
  Clock::time_point lastAsked_{};
};

}  // namespace Brovis::Engine
