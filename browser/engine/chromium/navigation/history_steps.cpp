#include "browser/engine/chromium/navigation/history_steps.h"

#include <utility>
#include <vector>

namespace Brovis::Engine {

namespace {

using Listing = PageAddedEntries::Listing;

std::optional<Listing> ParseListing(const Json& history) {
  const auto entries = history.find("entries");
  if (entries == history.end() || !entries->is_array()) return std::nullopt;
  Listing listing;
  listing.current = Field(history, "currentIndex", -1);
  for (const Json& entry : *entries) {
    if (!entry.is_object()) return std::nullopt;
    listing.ids.push_back(Field(entry, "id", 0));
    listing.urls.push_back(Field(entry, "url", ""));
    if (Field(entry, "transitionType", "") == "typed")
      listing.sentLoads.push_back(listing.ids.back());
  }
  if (listing.current < 0 || listing.current >= static_cast<int>(listing.ids.size()))
    return std::nullopt;
  listing.first = listing.urls.front() == "about:blank" ? 1 : 0;
  return listing;
}

}  // namespace

void HistorySteps::forget() {
  entries_.forget();
  listingInFlight_ = false;
  listingWanted_.reset();
  refused_.reset();
}

void HistorySteps::arrived(std::string_view loaderId, std::string_view url) {
  if (!loaderId.empty()) entries_.navigationCommitted(loaderId, url);
  list(now_());
}

void HistorySteps::list(Clock::time_point seen) {
  // One listing at a time; one wanted meanwhile follows it, and lists what came since.
  if (listingInFlight_) {
    if (!listingWanted_) listingWanted_ = seen;
    return;
  }
  listingInFlight_ = true;
  sender_.ask(
      "Page.getNavigationHistory",
      [this, seen](const CallResult& answer) {
        listingInFlight_ = false;
        const auto listing = answer ? ParseListing(*answer.result) : std::nullopt;
        if (listing) entries_.listed(*listing, seen);
        if (const auto wanted = std::exchange(listingWanted_, std::nullopt))
          list(*wanted);
        else if (!listing)
          refused_ = seen;
      },
      kListingLimit);
}

void HistorySteps::listIfRefused() {
  if (const auto seen = std::exchange(refused_, std::nullopt)) list(*seen);
}

std::optional<std::string> HistorySteps::step(const Json& history, int delta,
                                              Clock::time_point now) {
  const auto listing = ParseListing(history);
  if (!listing) return std::nullopt;
  entries_.listed(*listing, now);
  const auto target = entries_.stepTarget(listing->ids, listing->current, delta, listing->first);
  if (!target) return std::nullopt;
  sender_.navigate("Page.navigateToHistoryEntry", {{"entryId", listing->ids[*target]}});
  return listing->urls[*target];
}

}  // namespace Brovis::Engine
