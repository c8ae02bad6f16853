#include "browser/engine/chromium/frames/frame_pacing.h"

#include <algorithm>
#include <utility>

namespace Brovis::Engine {

FramePacing::Drawn* FramePacing::find(ViewSize size) {
  const auto it = std::ranges::find(sizes_, size, &Drawn::size);
  return it == sizes_.end() ? nullptr : &*it;
}

const FramePacing::Drawn* FramePacing::find(ViewSize size) const {
  const auto it = std::ranges::find(sizes_, size, &Drawn::size);
  return it == sizes_.end() ? nullptr : &*it;
}

void FramePacing::changed() {
  ++changes_;
  for (Drawn& drawn : sizes_) {
    drawn.lively = true;
    drawn.samePictures = 0;
  }
}

FramePacing::Ask FramePacing::noteRedraw(ViewSize size, Clock::time_point now) {
  if (lastAsked_ == Clock::time_point{} || now - lastAsked_ >= kPauseAfter) changed();
  Drawn* drawn = find(size);
  if (!drawn) {
    if (sizes_.size() >= kMaxSizes)
      sizes_.erase(std::ranges::min_element(sizes_, {}, &Drawn::lastRedraw));
    drawn = &sizes_.emplace_back(Drawn{size});
  }
  drawn->lastRedraw = now;
  if (drawn->lively || drawn->shown < changes_) return Ask::Picture;
  // The echo of the last picture is taken at once, so that the next frame's damage tells.
  return echoDue_ || now - lastAsked_ >= kProbeInterval ? Ask::Probe : Ask::Nothing;
}

void FramePacing::asked(Ask ask, Clock::time_point now) {
  if (ask != Ask::Nothing) lastAsked_ = now;
}

FramePacing::Ask FramePacing::probeAnswered(bool damage) {
  const bool echo = std::exchange(echoDue_, false);
  if (!damage || echo) return Ask::Nothing;
  for (Drawn& drawn : sizes_) {
    drawn.lively = true;
    drawn.samePictures = 0;
  }
  return Ask::Picture;
}

void FramePacing::pictureArrived(ViewSize size, std::uint64_t generation, bool samePicture) {
  echoDue_ = true;
  Drawn* drawn = find(size);
  if (!drawn) return;
  drawn->shown = std::max(drawn->shown, generation);
  drawn->samePictures = samePicture ? drawn->samePictures + 1 : 0;
  if (drawn->samePictures >= kSamePicturesToSettle && drawn->shown >= changes_)
    drawn->lively = false;
}

bool FramePacing::pictureOwed(ViewSize size) const {
  const Drawn* drawn = find(size);
  return !drawn || drawn->shown < changes_;
}

bool FramePacing::waitOwed(ViewSize size) const {
  const Drawn* drawn = find(size);
  return !drawn || drawn->waited < changes_;
}

void FramePacing::waited(ViewSize size) {
  if (Drawn* drawn = find(size)) drawn->waited = changes_;
}

bool FramePacing::otherSizeDrawn(ViewSize size, Clock::time_point now) const {
  return std::ranges::any_of(sizes_, [&](const Drawn& drawn) {
    return drawn.size != size && now - drawn.lastRedraw < kPauseAfter;
  });
}

}  // namespace Brovis::Engine
