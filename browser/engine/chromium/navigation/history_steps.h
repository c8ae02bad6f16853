#pragma once
// Steps back and forward through the page's history over the entries the page added on its own
// (PageAddedEntries), as a browser's own buttons do. Which entries are whose is learnt from the
// browser's listing of the history, asked for whenever an entry may have been added: when the top
// document commits or moves within itself.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "browser/engine/chromium/navigation/navigation_sender.h"
#include "browser/engine/chromium/navigation/page_added_entries.h"

namespace Brovis::Engine {

class HistorySteps {
 public:
  using Clock = std::chrono::steady_clock;
  using Now = std::function<Clock::time_point()>;

  // What a listing shows is dated by `now` as it was when the entries were seen to change, not
  // when the listing arrived: on a busy machine it can arrive long after the pilot's click that
  // made its new entry.
  explicit HistorySteps(NavigationSender& sender, Now now = &Clock::now)
      : sender_(sender), now_(std::move(now)) {}

  // A new browser: its history starts afresh.
  void forget();
  // The pilot clicked or typed into the page at `now`: an entry the page adds meanwhile is his.
  void pilotActed(Clock::time_point now) { entries_.pilotActed(now); }
  // The top document started a navigation to a new address; `sent` when one of ours was on its
  // way.
  void startedNavigating(std::string_view loaderId, bool sent, Clock::time_point now) {
    entries_.navigationStarted(loaderId, sent, now);
  }
  // The top document committed (its loader) at `url`, or moved within itself (no loader): an
  // entry may have been added.
  void arrived(std::string_view loaderId, std::string_view url);

  // Asks again for a listing the browser refused; called as the page's loads move on, when it
  // no longer commits.
  void listIfRefused();

  // Steps `delta` (-1 or +1) through `history`, the browser's listing, at `now`; the address of
  // the entry stepped to, none when there is no entry to step to.
  std::optional<std::string> step(const Json& history, int delta, Clock::time_point now);

 private:
  // Asks for the listing of the history as it stands since `seen`.
  void list(Clock::time_point seen);

  NavigationSender& sender_;
  Now now_;
  PageAddedEntries entries_;
  bool listingInFlight_ = false;
  // A change seen while a listing was on its way: the next listing follows, dated by it.
  std::optional<Clock::time_point> listingWanted_;
  // The browser refused the listing of a change seen then (it does while a document commits).
  std::optional<Clock::time_point> refused_;
  static constexpr std::chrono::milliseconds kListingLimit{5000};
};

}  // namespace Brovis::Engine
