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

  // Listings that arrive are dated by `now`.
  explicit HistorySteps(NavigationSender& sender, Now now = &Clock::now)
      : sender_(sender), now_(std::move(now)) {}

  // A new browser: its history starts afresh.
  void forget();
  // The pilot clicked or typed into the page at `now`: an entry the page adds meanwhile is his.
  void pilotActed(Clock::time_point now) { entries_.pilotActed(now); }
  // The top document started a navigation to a new address; `requested` when one of ours was on
  // its way.
  void startedNavigating(std::string_view loaderId, bool requested, Clock::time_point now) {
    entries_.navigationStarted(loaderId, requested, now);
  }
  // The top document committed (its loader), or moved within itself (no loader): an entry may
  // have been added.
  void arrived(std::string_view loaderId);

  // Steps `delta` (-1 or +1) through `history`, the browser's listing, at `now`; the address of
  // the entry stepped to, none when there is no entry to step to.
  std::optional<std::string> step(const Json& history, int delta, Clock::time_point now);

 private:
  // Asks for the listing, and again a few times while the browser refuses it (it does while a
  // document commits).
  void list(int triesLeft);

  NavigationSender& sender_;
  Now now_;
  PageAddedEntries entries_;
  bool listingInFlight_ = false;
  bool listingWanted_ = false;
  static constexpr int kListingTries = 5;
  static constexpr std::chrono::milliseconds kListingLimit{5000};
};

}  // namespace Brovis::Engine
