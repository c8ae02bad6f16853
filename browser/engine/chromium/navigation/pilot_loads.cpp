#include "browser/engine/chromium/navigation/pilot_loads.h"

#include <utility>

namespace Brovis::Engine {

bool PilotLoads::attach() {
  if (waitingUrl_.empty()) return false;
  load(std::exchange(waitingUrl_, {}));
  return true;
}

void PilotLoads::detach(const std::string& committedUrl) {
  if (waitingUrl_.empty()) waitingUrl_ = address(committedUrl);
  requestedUrl_.clear();
  requestedLoader_.clear();
  anyLoader_ = false;
  navigation_.forget();
}

void PilotLoads::historyStep(std::string url) {
  navigation_.forget();
  requestedUrl_ = std::move(url);
  requestedLoader_.clear();
  anyLoader_ = true;
}

void PilotLoads::committed(const std::string& loaderId) {
  arrived(loaderId);
  if (auto again = navigation_.committed(loaderId)) loadAddress(*again, true);
}

void PilotLoads::arrived(const std::string& loaderId) {
  if (!loaderId.empty()) lastTopLoader_ = loaderId;
  if (!requestedUrl_.empty() && (anyLoader_ || (!loaderId.empty() && requestedLoader_ == loaderId)))
    requestedUrl_.clear();
}

void PilotLoads::loadAddress(const std::string& url, bool retry) {
  requestedUrl_ = url;
  requestedLoader_.clear();
  anyLoader_ = false;
  navigation_.started(url, retry);
  const std::uint64_t load = ++loads_;
  sender_.navigate("Page.navigate", {{"url", url}}, [this, load](const CallResult& answer) {
    // An answer to an earlier load says nothing about this one.
    if (load != loads_) return;
    const Json none = Json::object();
    const Json& result = answer ? *answer.result : none;
    const std::string loaderId = Field(result, "loaderId", "");
    const std::string error = Field(result, "errorText", "");
    const bool download = Field(result, "isDownload", false);
    if (!error.empty() && failed_) failed_(loaderId, error);
    // Nothing commits for an aborted load (an empty answer), a download or a script address: the
    // page keeps the address it has. A failed load commits its error page.
    if (loaderId.empty() || download || error == "net::ERR_ABORTED" || loaderId == lastTopLoader_)
      requestedUrl_.clear();
    else
      requestedLoader_ = loaderId;
    std::optional<std::string> carrier;
    if (answer && error.empty() && !download) carrier = loaderId;
    if (auto again = navigation_.answered(std::move(carrier))) loadAddress(*again, true);
  });
}

}  // namespace Brovis::Engine
