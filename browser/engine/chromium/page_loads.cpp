#include "browser/engine/chromium/page_loads.h"

namespace Brovis::Engine {

bool PageLoads::attach(Connection& connection, std::string sessionId) {
  connection_ = &connection;
  sessionId_ = std::move(sessionId);
  if (waitingUrl_.empty()) return false;
  load(std::exchange(waitingUrl_, {}));
  return true;
}

void PageLoads::detach() {
  if (waitingUrl_.empty()) waitingUrl_ = currentUrl_;
  connection_ = nullptr;
  sessionId_.clear();
  pilotNavigation_.forget();
  loadingFrames_.clear();
  frameUrls_.clear();
  navigationsInFlight_ = 0;
}

bool PageLoads::handle(const ProtocolEvent& event) {
  const std::string_view m = event.method;
  const Json& p = event.params;
  if (m == "Page.frameStartedLoading") {
    loadingFrames_.insert(Field(p, "frameId", ""));
  } else if (m == "Page.frameStoppedLoading") {
    const std::string frameId = Field(p, "frameId", "");
    loadingFrames_.erase(frameId);
    const auto url = frameUrls_.find(frameId);
    completed_(FromUtf8Bytes(url != frameUrls_.end() ? url->second : std::string()),
               frameId == mainFrameId_);
  } else if (m == "Page.frameStartedNavigating") {
    if (Field(p, "frameId", "") == mainFrameId_ &&
        Field(p, "navigationType", "") == "differentDocument")
      pilotNavigation_.startedNavigating(Field(p, "loaderId", ""));
  } else if (m == "Page.frameNavigated") {
    if (auto frame = p.find("frame"); frame != p.end() && frame->is_object()) {
      const std::string url = Field(*frame, "url", "");
      frameUrls_[Field(*frame, "id", "")] = url;
      // The main frame's address is the page's; an error page keeps the address it stands for.
      if (!frame->contains("parentId")) {
        currentUrl_ = Field(*frame, "unreachableUrl", url);
        mainFrameId_ = Field(*frame, "id", "");
        if (auto again = pilotNavigation_.committed(Field(*frame, "loaderId", "")))
          loadPilotAddress(*again, true);
      }
    }
  } else if (m == "Page.frameDetached") {
    const std::string frameId = Field(p, "frameId", "");
    loadingFrames_.erase(frameId);
    frameUrls_.erase(frameId);
  } else {
    return false;
  }
  return true;
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
  currentUrl_ = url;
  pilotNavigation_.started(url, retry);
  const std::uint64_t load = ++pilotLoads_;
  startNavigation("Page.navigate", {{"url", url}}, [this, load](const CallResult& answer) {
    // An answer to an earlier load says nothing about this one.
    if (load != pilotLoads_) return;
    std::optional<std::string> loaderId;
    if (answer && !answer.result->contains("errorText") &&
        !Field(*answer.result, "isDownload", false))
      loaderId = Field(*answer.result, "loaderId", "");
    if (auto again = pilotNavigation_.answered(std::move(loaderId))) loadPilotAddress(*again, true);
  });
}

void PageLoads::goToHistoryEntry(int entryId) {
  pilotNavigation_.forget();
  startNavigation("Page.navigateToHistoryEntry", {{"entryId", entryId}});
}

}  // namespace Brovis::Engine
