// Element selection and activation. A selection step walks the body's element list one position
// at a time from the stored index, wrapping at either end, until it meets a visible link, text
// area or input that is not hidden, and that the scroll can bring into view; it outlines that
// element in red and scrolls it into view.
// The walk itself happens here, position by position, but what it needs to know of the
// positions ahead comes from the engine a window at a time, so that a long list costs a few
// exchanges with the engine instead of one per position.
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "browser/brovis_form.h"
#include "browser/selectable.h"
#include "platform/forms/application.h"

namespace Brovis {

namespace {

using Engine::BorderProperty;

// The first window is big enough for a selectable element among the next hundred or so
// positions to be found in one exchange; each later window is four times the previous one.
constexpr int kFirstWindow = 128;
constexpr int kWindowGrowth = 4;
constexpr int kLargestWindow = 16384;

// The facts of upcoming positions of an element list, for a walk in one direction. Refilled
// from the engine when the walk reaches a position it does not hold.
class FactsAhead {
 public:
  enum class Status { Read, PastEnd, Failed };

  FactsAhead(Engine::ElementCollection& list, int step) : list_(list), step_(step) {}

  // The facts at `position`, reading at most `limit` positions from there on when they are not
  // held yet. PastEnd: the engine has no element there (the list became shorter).
  Status at(int position, int limit, const Engine::ElementFacts*& facts) {
    if (!holds(position)) {
      const int count = std::clamp(nextCount_, 1, std::max(limit, 1));
      nextCount_ = std::min(nextCount_ * kWindowGrowth, kLargestWindow);
      auto read = list_.facts(position, step_, count);
      if (!read) return Status::Failed;
      first_ = position;
      facts_ = std::move(*read);
      if (!holds(position)) return Status::PastEnd;
    }
    facts = &facts_[static_cast<std::size_t>((position - first_) * step_)];
    return Status::Read;
  }

 private:
  bool holds(int position) const {
    const long offset = static_cast<long>(position - first_) * step_;
    return !facts_.empty() && offset >= 0 && offset < static_cast<long>(facts_.size());
  }

  Engine::ElementCollection& list_;
  int step_;
  int nextCount_ = kFirstWindow;
  int first_ = 0;
  std::vector<Engine::ElementFacts> facts_;
};

}  // namespace

BrowserText BrovisForm::selectNext() { return selectElement(1); }

BrowserText BrovisForm::selectPrevious() { return selectElement(-1); }

// An empty result means that no search took place (no document, or no body or element list);
// "blank" means that the search found nothing to select.
BrowserText BrovisForm::selectElement(int direction) {
  const int step = direction >= 0 ? 1 : -1;
  if (!webBrowser1) return {};
  const auto document = webBrowser1->Document();
  if (!document) return {};
  // The previous outline goes once the search is over: taken off before, it would have the
  // engine lay the page out once for the search, which asks where elements lie, and once more
  // for the new outline.
  const auto unmark = [previous = selectedElement] {
    if (previous) previous->setStyle(BorderProperty::Style, u8"none");
  };
  const auto body = document->body();
  const auto list = body ? body->all() : nullptr;
  const auto listLength = list ? list->length() : std::nullopt;
  if (!listLength) {
    unmark();
    return {};
  }

  // The search ends after it has examined as many positions as the list holds without a find.
  // Where it stops, selectedIndex stays: on the last position examined, which after a whole
  // round is the position the step started from.
  int length = std::max(*listLength, 0);
  int examined = 0;
  FactsAhead ahead(*list, step);
  selectedElement = nullptr;
  BrowserText tagName;
  for (;;) {
    selectedIndex += step;
    if (selectedIndex < 0 || selectedIndex >= length) {
      selectedIndex = step > 0 ? -1 : length;
      if (examined >= length) break;
      continue;
    }
    const int toEnd = step > 0 ? length - selectedIndex : selectedIndex + 1;
    const Engine::ElementFacts* facts = nullptr;
    const auto status = ahead.at(selectedIndex, std::min(toEnd, length - examined), facts);
    if (status == FactsAhead::Status::Failed) break;
    if (status == FactsAhead::Status::PastEnd) {
      // The page removed elements while the step ran: this position now lies past the end,
      // as would every one after it. Shrinking the bound keeps the search finite.
      const auto now = list->length();
      length = std::min(now ? *now : 0, selectedIndex);
      selectedIndex = step > 0 ? -1 : length;
      if (examined >= length) break;
      continue;
    }
    ++examined;
    if (IsSelectable(*facts)) {
      if (auto element = list->item(selectedIndex)) {
        tagName = facts->tagName;
        selectedElement = std::move(element);
        break;
      }
    }
    if (examined >= length) break;
  }
  unmark();
  if (!selectedElement) return u8"blank";

  static constexpr std::array<std::pair<BorderProperty, BrowserTextView>, 3> kOutline{{
      {BorderProperty::Color, u8"red"},
      {BorderProperty::Width, u8"thin"},
      {BorderProperty::Style, u8"solid"},
  }};
  selectedElement->setStyles(kOutline);
  selectedElement->scrollIntoView(false);
  // Read once before the events are processed as well: a refresh that runs among them (a
  // repaint of the page) writes the stored position into the page, and would otherwise put the
  // page back where it was before the scroll above. Both reads keep the page exactly where the
  // scroll left it: about half of all offsets, stored as offset / 200 in single precision,
  // would be written back a pixel short and cut the outline at the bottom of the view.
  KeepScroll();
  Forms::Application::DoEvents();
  KeepScroll();
  return tagName;
}

void BrovisForm::clickElement() {
  if (!selectedElement) return;
  // An element of a page that is no longer shown cannot be reached any more: the engine refuses
  // the click, and the page that is shown is left as it is, without a refresh.
  if (!selectedElement->click()) return;
  Forms::Application::DoEvents();
  UpdateBitmap();
}

}  // namespace Brovis
