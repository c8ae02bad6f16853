#include "browser/engine/chromium/frames/frame_pacing.h"

#include <utility>

namespace Brovis::Engine {

void FramePacing::changed() {
  ++changes_;
  lively_ = true;
  samePictures_ = 0;
}

FramePacing::Ask FramePacing::redrawn(Clock::time_point now) {
  if (lastAsked_ == Clock::time_point{} || now - lastAsked_ >= kPauseAfter) changed();
  if (lively_ || pictureOwed()) return Ask::Picture;
  // The echo of the last picture is taken at once, so that the next frame's damage tells.
  return echoDue_ || now - lastAsked_ >= kProbeInterval ? Ask::Probe : Ask::Nothing;
}

void FramePacing::asked(Ask ask, Clock::time_point now) {
  if (ask != Ask::Nothing) lastAsked_ = now;
}

FramePacing::Ask FramePacing::probeAnswered(bool damage) {
  const bool echo = std::exchange(echoDue_, false);
  if (!damage || echo) return Ask::Nothing;
  lively_ = true;
  samePictures_ = 0;
  return Ask::Picture;
}

void FramePacing::pictureAnswered(std::uint64_t generation, bool gotPicture, bool samePicture) {
  // Without a picture (a renderer that crashed, a dialog, a document not drawn yet) nothing was
  // shown: the next redraw asks again.
  if (!gotPicture) return;
  echoDue_ = true;
  if (generation > shown_) shown_ = generation;
  samePictures_ = samePicture ? samePictures_ + 1 : 0;
  if (samePictures_ >= kSamePicturesToSettle && !pictureOwed()) lively_ = false;
}

}  // namespace Brovis::Engine
