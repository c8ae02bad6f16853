#include "browser/engine/chromium/navigation/page_added_entries.h"

#include <algorithm>
#include <functional>

namespace Brovis::Engine {

void PageAddedEntries::pilotActed(Clock::time_point now) {
  // What the page did while the command ran was seen before the command ended: the newest entry
  // or navigation of the page's since then, and since the previous command, is this one's.
  const Clock::time_point since = std::max(now - kCommandWindow, lastCommand_);
  lastCommand_ = now;
  commandClaimUntil_ = {};
  // A page that added more than one entry or navigation meanwhile adds them on its own, without
  // pause (a history trap): none of them is the command's, nor is the next one.
  int added = 0;
  Entry* entry = nullptr;
  for (Entry& e : entries_) {
    if (!e.pageAdded || e.listedAt < since) continue;
    ++added;
    if (!entry || e.listedAt >= entry->listedAt) entry = &e;
  }
  Navigation* navigation = nullptr;
  for (Navigation& n : navigations_) {
    if (n.sent || n.pilots || n.startedAt < since) continue;
    ++added;
    navigation = &n;
  }
  if (added > 1) return;
  if (navigation && (!entry || navigation->startedAt >= entry->listedAt)) {
    navigation->pilots = true;
  } else if (entry) {
    entry->pageAdded = false;
  } else {
    commandClaimUntil_ = now + kCommandWindow;
  }
}

void PageAddedEntries::navigationStarted(std::string_view loaderId, bool sent,
                                         Clock::time_point now) {
  bool pilots = false;
  if (!sent && now <= commandClaimUntil_) {
    pilots = true;
    commandClaimUntil_ = {};
  }
  if (navigations_.size() >= kMaxNavigations) navigations_.erase(navigations_.begin());
  navigations_.push_back({std::string(loaderId), sent, pilots, now, listings_});
}

void PageAddedEntries::navigationCommitted(std::string_view loaderId, std::string_view url) {
  const auto it = std::ranges::find(navigations_, loaderId, &Navigation::loaderId);
  if (it == navigations_.end()) return;
  if (it->pilots && !takeListedEntry(*it, url))
    pilotCommits_ = std::min(pilotCommits_ + 1, kMaxPilotCommits);
  // Whatever started before it and has not committed never will.
  navigations_.erase(navigations_.begin(), it + 1);
}

bool PageAddedEntries::takeListedEntry(const Navigation& navigation, std::string_view url) {
  const std::size_t urlHash = std::hash<std::string_view>{}(url);
  for (Entry& entry : entries_) {
    if (entry.listing <= navigation.listingsBefore || entry.urlHash != urlHash) continue;
    entry.pageAdded = false;
    return true;
  }
  return false;
}

bool PageAddedEntries::takeClaim(Clock::time_point now) {
  if (pilotCommits_ > 0) {
    --pilotCommits_;
    return true;
  }
  if (now > commandClaimUntil_) return false;
  commandClaimUntil_ = {};
  return true;
}

void PageAddedEntries::listed(const Listing& listing, Clock::time_point now) {
  const auto& [ids, urls, current, first, sentLoads] = listing;
  ++listings_;
  // The entry that was current is replaced when it is gone and a new one holds its place.
  const Entry* replaced = nullptr;
  if (current_ >= 0 && current_ < static_cast<int>(entries_.size()) &&
      std::ranges::find(ids, entries_[current_].id) == ids.end())
    replaced = &entries_[current_];
  std::vector<Entry> next;
  next.reserve(ids.size());
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (const Entry* known = find(ids[i])) {
      next.push_back(*known);
      continue;
    }
    // A load the module sent is known by its entry, which can be listed before its commit is
    // told: it takes no claim, and leaves none behind for the page's next entry.
    bool pilots = static_cast<int>(i) < first ||
                  std::ranges::find(sentLoads, ids[i]) != sentLoads.end() || takeClaim(now);
    if (!pilots && replaced && static_cast<int>(i) == current_) pilots = !replaced->pageAdded;
    const std::size_t urlHash = i < urls.size() ? std::hash<std::string>{}(urls[i]) : 0;
    next.push_back({ids[i], !pilots, now, urlHash, listings_});
  }
  // A full history drops its oldest entries that the browser's own buttons skip, and the entry a
  // page added its own from is one of them: the entry that now follows the last one kept before it
  // takes its place, so that one step back still lands before them all. That entry may be new
  // when a late listing finds every entry the page had added dropped too.
  bool originDropped = false;
  std::size_t afterKept = 0;
  for (const Entry& old : entries_) {
    const auto kept = std::ranges::find(next, old.id, &Entry::id);
    if (kept == next.end()) {
      originDropped = originDropped || (!old.pageAdded && &old != replaced);
      continue;
    }
    if (originDropped) kept->pageAdded = false;
    originDropped = false;
    afterKept = static_cast<std::size_t>(kept - next.begin()) + 1;
  }
  if (originDropped && afterKept < next.size()) next[afterKept].pageAdded = false;
  entries_ = std::move(next);
  current_ = current;
}

std::optional<int> PageAddedEntries::stepTarget(std::span<const int> ids, int current, int delta,
                                                int first) const {
  const int size = static_cast<int>(ids.size());
  if (current < 0 || current >= size || (delta != -1 && delta != 1)) return std::nullopt;
  for (int k = current + delta; k >= first && k < size; k += delta)
    if (k + 1 == size || !pageAdded(ids[k + 1])) return k;
  return std::nullopt;
}

bool PageAddedEntries::pageAdded(int id) const {
  const Entry* entry = find(id);
  return entry && entry->pageAdded;
}

const PageAddedEntries::Entry* PageAddedEntries::find(int id) const {
  const auto it = std::ranges::find(entries_, id, &Entry::id);
  return it == entries_.end() ? nullptr : &*it;
}

void PageAddedEntries::forget() { *this = PageAddedEntries(); }

}  // namespace Brovis::Engine
