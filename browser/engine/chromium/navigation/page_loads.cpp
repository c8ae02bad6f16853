#include "browser/engine/chromium/navigation/page_loads.h"

#include <algorithm>
#include <vector>

namespace Brovis::Engine {

namespace {

// Stands for whichever loader commits next: a history step's is not told.
constexpr char kAnyLoader[] = "*";
constexpr std::chrono::milliseconds kListingLimit{5000};

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

bool PageLoads::attach(Connection& connection, std::string sessionId) {
  connection_ = &connection;
  sessionId_ = std::move(sessionId);
  ++attachment_;
  if (waitingUrl_.empty()) return false;
  load(std::exchange(waitingUrl_, {}));
  return true;
}

void PageLoads::detach() {
  if (waitingUrl_.empty()) waitingUrl_ = address();
  connection_ = nullptr;
  sessionId_.clear();
  ++attachment_;
  requestedUrl_.clear();
  requestedLoader_.clear();
  pilotNavigation_.forget();
  entries_.forget();
  frames_.clear();
  framesWereLoading_ = false;
  navigationsInFlight_ = 0;
  listingInFlight_ = listingStale_ = false;
}

bool PageLoads::handle(const ProtocolEvent& event) {
  const bool taken = take(event);
  if (taken) noteFramesLoading(Clock::now());
  return taken;
}

bool PageLoads::take(const ProtocolEvent& event) {
  const std::string_view m = event.method;
  const Json& p = event.params;
  const auto now = Clock::now();
  // A listing the browser refused (it does while a document commits) is asked for again.
  if (listingStale_ && !listingInFlight_) listHistory();
  if (m == "Page.frameAttached") {
    frames_[Field(p, "frameId", "")].child = true;
  } else if (m == "Page.frameStartedLoading") {
    Frame& frame = frames_[Field(p, "frameId", "")];
    if (!frame.loading) frame.documentLoaded = frame.contentLoaded = false;
    frame.loading = true;
  } else if (m == "Page.frameStoppedLoading") {
    const auto it = frames_.find(Field(p, "frameId", ""));
    if (it == frames_.end()) return true;
    complete(it->second);
    it->second.loading = it->second.committed = it->second.completed = false;
    it->second.navigating = false;
  } else if (m == "Page.loadEventFired") {
    // The top document's own load: frames it added later may still be loading.
    for (auto& [id, frame] : frames_)
      if (!frame.child) {
        frame.documentLoaded = true;
        complete(frame);
      }
  } else if (m == "Page.domContentEventFired") {
    for (auto& [id, frame] : frames_)
      if (!frame.child) frame.contentLoaded = true;
  } else if (m == "Page.frameStartedNavigating") {
    const std::string type = Field(p, "navigationType", "");
    if (type == "sameDocument" || type == "historySameDocument") return true;
    Frame& frame = frames_[Field(p, "frameId", "")];
    frame.navigating = true;
    if (!frame.child && type == "differentDocument") {
      const std::string loaderId = Field(p, "loaderId", "");
      pilotNavigation_.startedNavigating(loaderId);
      entries_.navigationStarted(loaderId, navigationsInFlight_ > 0, now);
    }
  } else if (m == "Page.frameNavigated") {
    const auto info = p.find("frame");
    if (info == p.end() || !info->is_object()) return true;
    Frame& frame = frames_[Field(*info, "id", "")];
    frame.child = info->contains("parentId");
    frame.navigating = frame.completed = frame.documentLoaded = frame.contentLoaded = false;
    frame.committed = true;
    frame.url = Field(*info, "url", "") + Field(*info, "urlFragment", "");
    if (!frame.child) {
      const std::string loaderId = Field(*info, "loaderId", "");
      topCommitted(Field(*info, "unreachableUrl", frame.url), loaderId);
      entries_.navigationCommitted(loaderId);
      if (hooks_.topCommitted) hooks_.topCommitted();
      if (auto again = pilotNavigation_.committed(loaderId)) loadPilotAddress(*again, true);
    }
    // A page kept whole from before comes back complete; its load stopped before this commit.
    if (Field(p, "type", "") == "BackForwardCacheRestore") {
      frame.documentLoaded = true;
      complete(frame);
    }
  } else if (m == "Page.navigatedWithinDocument") {
    const auto it = frames_.find(Field(p, "frameId", ""));
    if (it != frames_.end() && !it->second.child) topCommitted(Field(p, "url", ""), {});
  } else if (m == "Page.frameDetached") {
    frames_.erase(Field(p, "frameId", ""));
  } else {
    return false;
  }
  return true;
}

void PageLoads::topCommitted(std::string url, const std::string& loaderId) {
  committedUrl_ = std::move(url);
  if (!loaderId.empty()) lastTopLoader_ = loaderId;
  if (!requestedUrl_.empty() &&
      (requestedLoader_ == kAnyLoader || (!loaderId.empty() && requestedLoader_ == loaderId)))
    requestedUrl_.clear();
  listHistory();
}

void PageLoads::complete(Frame& frame) {
  if (!frame.committed || frame.navigating || frame.completed) return;
  frame.completed = true;
  if (hooks_.completed) hooks_.completed(FromUtf8Bytes(frame.url), !frame.child);
}

bool PageLoads::framesLoading() const {
  return std::ranges::any_of(frames_,
                             [](const auto& f) { return f.second.child && f.second.loading; });
}

void PageLoads::noteFramesLoading(Clock::time_point now) {
  const bool loading = framesLoading();
  // A frame that stops and starts again, or another that takes over, continues the stretch.
  if (loading && !framesWereLoading_ && now - framesQuietSince_ >= kFrameBusyLimit)
    framesLoadingSince_ = now;
  if (!loading && framesWereLoading_) framesQuietSince_ = now;
  framesWereLoading_ = loading;
}

bool PageLoads::loadingDocument() const {
  if (navigationsInFlight_ > 0) return true;
  const bool frames = framesLoading();
  return std::ranges::any_of(frames_, [frames](const auto& f) {
    const Frame& frame = f.second;
    return !frame.child && frame.loading && !frame.documentLoaded &&
           !(frame.contentLoaded && frames);
  });
}

bool PageLoads::busy() const {
  return loadingDocument() ||
         (framesLoading() && Clock::now() - framesLoadingSince_ < kFrameBusyLimit);
}

void PageLoads::startNavigation(std::string_view method, Json params,
                                Connection::ReplyHandler onAnswer) {
  if (!connection_) return;
  ++navigationsInFlight_;
  connection_->post(method, std::move(params), sessionId_,
                    [this, onAnswer = std::move(onAnswer)](const CallResult& answer) {
                      if (navigationsInFlight_ > 0) --navigationsInFlight_;
                      if (onAnswer) onAnswer(answer);
                    });
}

void PageLoads::load(const std::string& url) { loadPilotAddress(url, false); }

void PageLoads::loadPilotAddress(const std::string& url, bool retry) {
  requestedUrl_ = url;
  requestedLoader_.clear();
  pilotNavigation_.started(url, retry);
  const std::uint64_t load = ++pilotLoads_;
  startNavigation("Page.navigate", {{"url", url}}, [this, load](const CallResult& answer) {
    // An answer to an earlier load says nothing about this one.
    if (load != pilotLoads_) return;
    const Json none = Json::object();
    const Json& result = answer ? *answer.result : none;
    const std::string loaderId = Field(result, "loaderId", "");
    const std::string error = Field(result, "errorText", "");
    // Nothing commits for an aborted load (an empty answer), a download or a script address: the
    // page keeps the address it has. A failed load commits its error page.
    if (loaderId.empty() || Field(result, "isDownload", false) || error == "net::ERR_ABORTED" ||
        loaderId == lastTopLoader_)
      requestedUrl_.clear();
    else
      requestedLoader_ = loaderId;
    std::optional<std::string> carrier;
    if (answer && error.empty() && !Field(result, "isDownload", false)) carrier = loaderId;
    if (auto again = pilotNavigation_.answered(std::move(carrier))) loadPilotAddress(*again, true);
  });
}

void PageLoads::goToHistoryEntry(int entryId, std::string url) {
  pilotNavigation_.forget();
  requestedUrl_ = std::move(url);
  requestedLoader_ = kAnyLoader;
  startNavigation("Page.navigateToHistoryEntry", {{"entryId", entryId}});
}

bool PageLoads::stepHistory(const Json& history, int delta) {
  const auto listing = ParseListing(history);
  if (!listing) return false;
  entries_.listed(listing->ids, listing->current, listing->first, Clock::now());
  const auto target = entries_.stepTarget(listing->ids, listing->current, delta, listing->first);
  if (!target) return false;
  goToHistoryEntry(listing->ids[*target], listing->urls[*target]);
  return true;
}

void PageLoads::listHistory() {
  if (!connection_) return;
  if (listingInFlight_) {
    listingStale_ = true;
    return;
  }
  listingInFlight_ = true;
  listingStale_ = false;
  connection_->post(
      "Page.getNavigationHistory", Json::object(), sessionId_,
      [this, attachment = attachment_](const CallResult& answer) {
        if (attachment != attachment_) return;
        listingInFlight_ = false;
        const auto listing = answer ? ParseListing(*answer.result) : std::nullopt;
        if (!listing) {
          listingStale_ = true;
          return;
        }
        entries_.listed(listing->ids, listing->current, listing->first, Clock::now());
        if (std::exchange(listingStale_, false)) listHistory();
      },
      kListingLimit);
}

}  // namespace Brovis::Engine
