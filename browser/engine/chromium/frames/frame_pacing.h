#pragma once
// Which frames the displays' redraws ask the browser for. The browser renders nothing unless a
// frame is asked for, a frame with a picture costs it several times one without, and one view
// serves displays of several sizes, each showing only pictures of its own size. So:
// - A change made through the module (or a completed load) owes every size a picture, and the
//   first redraw of each size after it waits for its own. A size drawn for the first time owes
//   one too. Another view size is no change: a picture of a size still shows the page at it.
// - Around such a change, and while the page changes on its own, every redraw asks for a picture
//   of its size; two pictures of a size in a row that show nothing new end that for the size.
// - A still page is watched with frames without a picture, a few times a second: one that
//   reports damage makes every size ask for pictures again. The frame right after a picture
//   always reports damage (the picture's own), so that report is not believed; a real change
//   reports damage in two frames in a row, and the second one tells.
// - Nobody drawing means no frames at all. The first redraw after a pause owes every size a
//   picture, as after a change: the page may have moved on meanwhile.
// Time is passed in: nothing here reads a clock.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "browser/engine/chromium/frames/view_size.h"

namespace Brovis::Engine {

class FramePacing {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Ask { Nothing, Probe, Picture };

  // A still page is asked for a frame without a picture this often.
  static constexpr std::chrono::milliseconds kProbeInterval{350};
  // Redraws further apart than this find the page after a pause; a size not redrawn for this
  // long no longer counts as drawn.
  static constexpr std::chrono::milliseconds kPauseAfter{1000};
  // Pictures of a size in a row that show nothing new before the page counts as still at it.
  static constexpr int kSamePicturesToSettle = 2;
  // Sizes followed at once: the one redrawn longest ago makes way for another.
  static constexpr std::size_t kMaxSizes = 4;

  // The page was changed through the module: the next picture of every size must show it.
  void changed();
  // Notes a display's redraw at `size` at `now`, and says what to ask the browser for it.
  Ask noteRedraw(ViewSize size, Clock::time_point now);
  // A frame is being asked for at `now`.
  void asked(Ask ask, Clock::time_point now);
  // The answer of a frame without a picture; Picture when pictures should be asked for again.
  Ask probeAnswered(bool damage);
  // A picture of `size` arrived, asked for when `generation` changes had been made; whether it
  // shows anything new at its size.
  void pictureArrived(ViewSize size, std::uint64_t generation, bool samePicture);

  // The changes made so far; a picture asked for now shows them all.
  std::uint64_t generation() const { return changes_; }
  // A change (or a pause) has not been shown by a picture of `size` yet.
  bool pictureOwed(ViewSize size) const;
  // A redraw of `size` has not yet waited for the newest change: it waits, once, for its picture.
  bool waitOwed(ViewSize size) const;
  // A redraw of `size` waited for the changes made so far, whether the picture came or not.
  void waited(ViewSize size);
  // Whether a size other than `size` was redrawn within the pause before `now`.
  bool otherSizeDrawn(ViewSize size, Clock::time_point now) const;

 private:
  struct Drawn {
    ViewSize size;
    std::uint64_t shown = 0;
    std::uint64_t waited = 0;
    // Every redraw asks for a picture: the page was changed, or changes on its own.
    bool lively = true;
    int samePictures = 0;
    Clock::time_point lastRedraw{};
  };
  Drawn* find(ViewSize size);
  const Drawn* find(ViewSize size) const;

  std::vector<Drawn> sizes_;
  // From 1, so that a size never shown (0) owes a picture.
  std::uint64_t changes_ = 1;
  // The next frame without a picture will report the last picture's damage.
  bool echoDue_ = false;
  Clock::time_point lastAsked_{};
};

}  // namespace Brovis::Engine
