#pragma once
// Which entries of the page's history the page added on its own, and where a step back or
// forward lands when it steps over them, as a browser's own buttons do: one step leaves a page
// that adds entries without pause (a pushState loop, or loads it starts by itself), together with
// the entry it added them from.
//
// The browser cannot tell these entries apart for us: the pilot's clicks carry no user activation,
// so that popups stay refused. So an entry is the pilot's when a load the module sent made it (the
// browser lists such an entry as typed, which no page can make), or when the page adds it while or
// just after one of the pilot's clicks or typed texts acts on it (a click that changes a
// single-page application's route, or a link it follows): one entry per command. Every other new
// entry is the page's; an entry that replaces another keeps its owner.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Brovis::Engine {

class PageAddedEntries {
 public:
  using Clock = std::chrono::steady_clock;

  // How long before and after one of the pilot's commands an entry counts as the command's.
  static constexpr std::chrono::milliseconds kCommandWindow{1000};

  // The pilot clicked or typed into the page at `now`.
  void pilotActed(Clock::time_point now);
  // The top document started a navigation to another document; `sent` when it is one the module
  // sent (its entry, if it makes one, is listed as the module's load).
  void navigationStarted(std::string_view loaderId, bool sent, Clock::time_point now);
  // The top document committed the navigation of `loaderId` at `url`; its entry is listed next,
  // or was listed already.
  void navigationCommitted(std::string_view loaderId, std::string_view url);

  // The history as the browser lists it.
  struct Listing {
    // The entries' ids and addresses, in order.
    std::vector<int> ids;
    std::vector<std::string> urls;
    int current = -1;
    // Entries before it (the browser's blank start page) are nobody's.
    int first = 0;
    // The entries made by a load the module sent: the browser lists those, and only those, as
    // typed.
    std::vector<int> sentLoads;
  };
  // The history as listed at `now`. Entries not listed before are taken as the pilot's or the
  // page's.
  void listed(const Listing& listing, Clock::time_point now);

  // The index a step of `delta` (-1 or +1) from `current` lands on, stepping over every entry
  // whose next entry the page added; never below `first`. None when there is no such entry.
  std::optional<int> stepTarget(std::span<const int> ids, int current, int delta, int first) const;
  // Whether the entry was added by the page on its own; false for an entry never listed.
  bool pageAdded(int id) const;
  // A new browser: its history starts afresh.
  void forget();

 private:
  struct Entry {
    int id;
    bool pageAdded;
    Clock::time_point listedAt;
    std::size_t urlHash;
    // The number of the listing that first held it.
    std::uint64_t listing;
  };
  struct Navigation {
    std::string loaderId;
    bool sent;
    // Started by one of the pilot's commands.
    bool pilots;
    Clock::time_point startedAt;
    // Listings made before it started.
    std::uint64_t listingsBefore;
  };

  const Entry* find(int id) const;
  // Takes the claim of a load of the pilot's, or of a command still open at `now`.
  bool takeClaim(Clock::time_point now);
  // Gives the navigation the entry at `url` listed since it started, if there is one: a listing
  // can hold a commit's entry before the commit is told.
  bool takeListedEntry(const Navigation& navigation, std::string_view url);

  // Navigations started and not committed yet, at most this many: the oldest are dropped.
  static constexpr std::size_t kMaxNavigations = 8;

  std::uint64_t listings_ = 0;
  std::vector<Entry> entries_;
  int current_ = -1;
  std::vector<Navigation> navigations_;
  Clock::time_point lastCommand_{};
  // A command of the pilot's that found no entry or navigation of its own takes the next one
  // until then.
  Clock::time_point commandClaimUntil_{};
  // Navigations that the pilot's commands started and that committed: the next new entries are
  // theirs, in order. The module's own loads need none; their entries say whose they are.
  int pilotCommits_ = 0;
  static constexpr int kMaxPilotCommits = 4;
};

}  // namespace Brovis::Engine
