#include "browser/engine/chromium/navigation/history_steps.h"

#include <vector>

namespace Brovis::Engine {

namespace {

struct Listing {
  std::vector<int> ids;
  std::vector<std::string> urls;
  int current = -1;
  // The blank page the browser starts with is not part of the pilot's history.
  int first = 0;
};

std::optional<Listing> ParseListing(const Json& history) {
  const auto entries = history.find("entries");
  if (entries == history.end() || !entries->is_array()) return std::nullopt;
  Listing listing;
  listing.current = Field(history, "currentIndex", -1);
  for (const Json& entry : *entries) {
    if (!entry.is_object()) return std::nullopt;
    listing.ids.push_back(Field(entry, "id", 0));
    listing.urls.push_back(Field(entry, "url", ""));
  }
  if (listing.current < 0 || listing.current >= static_cast<int>(listing.ids.size()))
    return std::nullopt;
  listing.first = listing.urls.front() == "about:blank" ? 1 : 0;
  return listing;
}

}  // namespace

void HistorySteps::forget() {
  entries_.forget();
  listingInFlight_ = listingWanted_ = false;
}

void HistorySteps::arrived(std::string_view loaderId) {
  if (!loaderId.empty()) entries_.navigationCommitted(loaderId);
  list(kListingTries);
}

void HistorySteps::list(int triesLeft) {
  // One listing at a time; one wanted meanwhile follows it, and lists what came since.
  if (listingInFlight_) {
    listingWanted_ = true;
    return;
  }
  listingInFlight_ = true;
  listingWanted_ = false;
  sender_.ask(
      "Page.getNavigationHistory",
      [this, triesLeft](const CallResult& answer) {
        listingInFlight_ = false;
        const auto listing = answer ? ParseListing(*answer.result) : std::nullopt;
        if (listing) entries_.listed(listing->ids, listing->current, listing->first, now_());
        if (listingWanted_ || (!listing && triesLeft > 1))
          list(listingWanted_ ? kListingTries : triesLeft - 1);
      },
      kListingLimit);
}

std::optional<std::string> HistorySteps::step(const Json& history, int delta,
                                              Clock::time_point now) {
  const auto listing = ParseListing(history);
  if (!listing) return std::nullopt;
  entries_.listed(listing->ids, listing->current, listing->first, now);
  const auto target = entries_.stepTarget(listing->ids, listing->current, delta, listing->first);
  if (!target) return std::nullopt;
  sender_.navigate("Page.navigateToHistoryEntry", {{"entryId", listing->ids[*target]}});
  return listing->urls[*target];
}

}  // namespace Brovis::Engine
