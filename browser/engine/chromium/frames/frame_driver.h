#pragma once
// The page's frames, driven by the displays: the browser renders only the frames asked for here,
// one at a time, and a frame asked for with a picture shows every change made before it was
// asked. A display's redraw asks for what the pacing says for its size; after a change it waits,
// within its limit, for a picture of its size that shows it, and otherwise takes its size's
// newest picture at once. Frames wanted while one is on its way are asked for, in turn, as soon
// as it is answered, so that displays of different sizes drawn one after the other each get
// theirs. The view takes a display's size when a picture of that size is asked for (a display
// drawn alone has it at once), and keeps it until a picture of that size comes: the first frames
// after a new size often come without one while the page is laid out at it, and a view that
// changed size again meanwhile would never get one. While nobody draws, nothing is rendered.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "browser/engine/chromium/frames/frame_pacing.h"
#include "browser/engine/chromium/frames/frame_target.h"
#include "browser/engine/chromium/frames/sized_pictures.h"
#include "platform/win32/surface.h"

namespace Brovis::Engine {

class FrameDriver {
 public:
  using Clock = FramePacing::Clock;
  using Now = std::function<Clock::time_point()>;

  // `newPicture` is called when a picture that shows something new arrives outside a redraw's
  // wait for its size. Time is read from `now`.
  explicit FrameDriver(std::function<void()> newPicture, Now now = &Clock::now)
      : newPicture_(std::move(newPicture)), now_(std::move(now)) {}

  // A browser's page is attached; its view has `viewSize` (not known when zero). Until
  // allowDrawing(), no frames are asked of it.
  void attach(FrameTarget& target, ViewSize viewSize);
  // The browser goes. Its last pictures stay until the next page shows its own.
  void detach();
  // The page may be drawn (a new browser's is not while it shows its blank start page).
  void allowDrawing() { drawingAllowed_ = true; }

  // The page was changed through the module (or a load completed): the first redraw of every
  // size after it shows the change.
  void changed() { pacing_.changed(); }
  // A display of `size` is about to be drawn, and with it the page operations that follow. When
  // no display of another size is being drawn, the view takes the size now, within `limit`.
  void resizeFor(ViewSize size, std::chrono::milliseconds limit);
  // The pilot acts on a display of `size`: the view takes it now, within `limit`, whatever other
  // sizes are drawn, so that what follows acts on the page as that display shows it.
  void layOutFor(ViewSize size, std::chrono::milliseconds limit);
  // The newest picture of `size`, or none before the first. A print (a `waitLimit` above zero)
  // is a display's redraw: it asks for a frame and, when a change is owed its picture, waits up
  // to `waitLimit` (and the caller's budget) for it.
  const Win32::Surface* picture(ViewSize size, std::chrono::milliseconds waitLimit);
  // A display of `size` does not show the page as it stands yet.
  bool pictureOwed(ViewSize size) const { return !drawing() || pacing_.pictureOwed(size); }

  // How long a frame may take before it is given up and another may be asked for.
  static constexpr std::chrono::seconds kFrameLimit{3};
  // A redraw that waits asks this many frames at most (the first frames of a new document or size
  // can come without a picture).
  static constexpr int kTriesPerRedraw = 3;
  // The view keeps a new size this long at most for its picture, then lets another have its turn.
  static constexpr std::chrono::milliseconds kHoldLimit{1000};

 private:
  struct Flight {
    ViewSize size;
    bool withPicture = false;
    std::uint64_t generation = 0;
  };
  struct Wanted {
    ViewSize size;
    Clock::time_point since;
  };
  struct Hold {
    ViewSize size;
    Clock::time_point since;
  };

  bool drawing() const { return target_ && !target_->closed() && drawingAllowed_; }
  // A picture of `size` is wanted, unless one asked for already shows the page as it stands.
  void want(ViewSize size);
  // Asks for the next frame wanted, when none is on its way.
  void askNext();
  // Gives the view `size`; frames are asked of it once the page is laid out at it.
  void resizeView(ViewSize size, Clock::time_point now);
  void ask(const Flight& flight);
  void answered(const Flight& flight, const FrameAnswer& answer);

  std::function<void()> newPicture_;
  Now now_;
  FrameTarget* target_ = nullptr;
  bool drawingAllowed_ = false;
  // Tells an answer meant for a browser already gone from one of the attached browser.
  std::uint64_t attachment_ = 0;
  // The size the view has, or was last asked to take; not known when zero.
  ViewSize view_;
  // The view was given its size and the page is not known to be laid out at it yet.
  bool resizing_ = false;
  // The view took this size and has not brought its picture yet.
  std::optional<Hold> hold_;
  std::optional<Flight> inFlight_;
  // Pictures wanted by redraws, oldest first, one per size.
  std::vector<Wanted> wanted_;
  // A redraw waits for a picture of this size: its picture is not news for later.
  std::optional<ViewSize> waitingFor_;
  int asksForWait_ = 0;
  FramePacing pacing_;
  SizedPictures pictures_;
};

}  // namespace Brovis::Engine
