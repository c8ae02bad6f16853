#include "browser/engine/chromium/frames/frame_driver.h"

#include <algorithm>

#include "browser/engine/call_budget.h"

namespace Brovis::Engine {

void FrameDriver::attach(FrameTarget& target, ViewSize viewSize) {
  target_ = &target;
  ++attachment_;
  drawingAllowed_ = false;
  inFlight_.reset();
  wanted_.clear();
  hold_.reset();
  resizing_ = false;
  view_ = viewSize;
  // Whatever the displays show is of the browser before.
  pacing_.changed();
}

void FrameDriver::detach() {
  target_ = nullptr;
  ++attachment_;
  drawingAllowed_ = false;
  inFlight_.reset();
  wanted_.clear();
  hold_.reset();
  resizing_ = false;
  view_ = {};
}

void FrameDriver::resizeFor(ViewSize size, std::chrono::milliseconds limit) {
  // Displays of several sizes take turns: the view changes only for a picture of a size, so that
  // a still page is not laid out again at every redraw.
  if (pacing_.otherSizeDrawn(size, now_())) return;
  layOutFor(size, limit);
}

void FrameDriver::layOutFor(ViewSize size, std::chrono::milliseconds limit) {
  if (!size.known() || !target_ || target_->closed() || size == view_) return;
  // After the frame on its way, which might otherwise show the old layout at the new size.
  const auto deadline = CallBudget::Deadline(now_() + limit);
  const auto wait = [&] {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now_());
    if (left.count() <= 0 || !target_ || target_->closed()) return false;
    target_->waitAndPoll(left);
    return true;
  };
  while ((inFlight_ || resizing_) && wait()) {
  }
  if (inFlight_ || resizing_ || size == view_) return;
  resizeView(size, now_());
  while (resizing_ && view_ == size && wait()) {
  }
}

void FrameDriver::resizeView(ViewSize size, Clock::time_point now) {
  view_ = size;
  resizing_ = true;
  if (!hold_ || hold_->size != size) hold_ = Hold{size, now};
  if (waitingFor_) ++asksForWait_;
  target_->resizeView(size, kFrameLimit, [this, size, attachment = attachment_](bool laidOut) {
    if (attachment != attachment_ || view_ != size) return;
    resizing_ = false;
    // Not seen laid out at the size: it is given again for the next redraw's frame, not at once,
    // so that a view that cannot take the size is not asked without pause.
    if (!laidOut) {
      view_ = {};
      return;
    }
    askNext();
  });
}

void FrameDriver::want(ViewSize size) {
  if (inFlight_ && inFlight_->withPicture && inFlight_->size == size &&
      inFlight_->generation == pacing_.generation())
    return;
  if (std::ranges::find(wanted_, size, &Wanted::size) == wanted_.end())
    wanted_.push_back({size, now_()});
}

void FrameDriver::askNext() {
  if (inFlight_ || resizing_ || !drawing()) return;
  // A want no redraw renewed (its display closed, or waits for its next turn anyway) goes.
  const auto now = now_();
  std::erase_if(wanted_, [&](const Wanted& w) {
    return now - w.since >= FramePacing::kPauseAfter && w.size != waitingFor_;
  });
  if (hold_ && now - hold_->since >= kHoldLimit) hold_.reset();
  ViewSize size;
  if (hold_) {
    // A size that has not brought its picture yet keeps the view, whoever is drawn.
    size = hold_->size;
  } else {
    if (wanted_.empty()) return;
    auto next = wanted_.begin();
    if (waitingFor_) {
      const auto waiting = std::ranges::find(wanted_, *waitingFor_, &Wanted::size);
      if (waiting != wanted_.end()) next = waiting;
    }
    size = next->size;
  }
  if (size != view_) return resizeView(size, now);
  ask({size, true, pacing_.generation()});
}

void FrameDriver::ask(const Flight& flight) {
  inFlight_ = flight;
  std::erase_if(wanted_, [&](const Wanted& w) { return w.size == flight.size; });
  pacing_.asked(flight.withPicture ? FramePacing::Ask::Picture : FramePacing::Ask::Probe, now_());
  if (waitingFor_) ++asksForWait_;
  target_->beginFrame(flight.withPicture, kFrameLimit,
                      [this, flight, attachment = attachment_](const FrameAnswer& answer) {
                        if (attachment == attachment_) answered(flight, answer);
                      });
}

void FrameDriver::answered(const Flight& flight, const FrameAnswer& answer) {
  inFlight_.reset();
  if (!flight.withPicture) {
    if (pacing_.probeAnswered(answer.damage) == FramePacing::Ask::Picture && view_.known())
      want(view_);
    return askNext();
  }
  // A frame can come without a picture (a renderer that crashed, a dialog, a document or size not
  // drawn yet): nothing was shown, and the next redraw, or one that waits, asks again.
  const auto size = PngSize(answer.picture);
  if (!size) return;
  if (hold_ && hold_->size == *size) hold_.reset();
  const bool news = pictures_.receive(*size, answer.picture);
  pacing_.pictureArrived(*size, flight.generation, !news);
  if (news && *size != waitingFor_ && newPicture_) newPicture_();
  // The view did not have the size asked for: it is given again for the next redraw's frame.
  if (*size != flight.size) {
    view_ = {};
    return;
  }
  askNext();
}

const Win32::Surface* FrameDriver::picture(ViewSize size, std::chrono::milliseconds waitLimit) {
  if (waitLimit.count() <= 0 || !drawing()) return pictures_.latest(size);
  const auto now = now_();
  const FramePacing::Ask wanted = pacing_.noteRedraw(size, now);
  if (wanted == FramePacing::Ask::Picture) want(size);
  if (!pacing_.waitOwed(size)) {
    if (wanted == FramePacing::Ask::Probe && !inFlight_ && !resizing_ && wanted_.empty())
      ask({view_, false, pacing_.generation()});
    askNext();
    return pictures_.latest(size);
  }
  // A change waits for its picture, asked for after whatever frame is on its way.
  const auto deadline = CallBudget::Deadline(now + waitLimit);
  waitingFor_ = size;
  asksForWait_ = 0;
  while (drawing() && pacing_.pictureOwed(size)) {
    if (!inFlight_ && !resizing_) {
      if (asksForWait_ == kTriesPerRedraw) break;
      want(size);
      askNext();
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now_());
    if (left.count() <= 0) break;
    target_->waitAndPoll(left);
  }
  waitingFor_.reset();
  // Waited once: a change whose picture does not come must not hold up every later redraw.
  pacing_.waited(size);
  return pictures_.latest(size);
}

}  // namespace Brovis::Engine
