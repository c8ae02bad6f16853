#pragma once
// The page's frames, loads and address, as the browser reports them: which frames are loading,
// which document each one holds, the address the page has, and the pilot's loads and history
// steps, kept from being overtaken by the page being left.
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "browser/engine/browser_text.h"
#include "browser/engine/chromium/connection.h"
#include "browser/engine/chromium/pilot_navigation.h"

namespace Brovis::Engine {

class PageLoads {
 public:
  // A frame's document finished loading; `mainFrame` when it is the page's own.
  using CompletedHandler = std::function<void(BrowserText url, bool mainFrame)>;

  explicit PageLoads(CompletedHandler completed) : completed_(std::move(completed)) {}

  // A browser's page is attached: loads go to it. Loads the address that waited for it, if any,
  // and says whether it did.
  bool attach(Connection& connection, std::string sessionId);
  // The browser goes: its frames and loads with it. The page's address is kept, to be loaded
  // again by the next browser.
  void detach();

  // Takes the frame and navigation events; false for any other event.
  bool handle(const ProtocolEvent& event);

  // Loads the pilot's address now; the page must be attached.
  void load(const std::string& url);
  // Loads the address as soon as a page is attached.
  void loadWhenAttached(std::string url) { waitingUrl_ = std::move(url); }
  bool addressWaiting() const { return !waitingUrl_.empty(); }
  // Goes to an entry of the page's history.
  void goToHistoryEntry(int entryId);

  // A load is on its way, or some frame is loading.
  bool busy() const { return navigationsInFlight_ > 0 || !loadingFrames_.empty(); }
  // The address the page has, or is loading; an error page's is the one it stands for.
  const std::string& address() const { return currentUrl_; }

 private:
  void loadPilotAddress(const std::string& url, bool retry);
  void startNavigation(std::string_view method, Json params,
                       Connection::ReplyHandler onAnswer = nullptr);

  CompletedHandler completed_;
  Connection* connection_ = nullptr;
  std::string sessionId_;

  std::string currentUrl_;
  std::string waitingUrl_;
  PilotNavigation pilotNavigation_;
  std::uint64_t pilotLoads_ = 0;
  int navigationsInFlight_ = 0;
  std::string mainFrameId_;
  std::set<std::string> loadingFrames_;
  std::map<std::string, std::string> frameUrls_;
};

}  // namespace Brovis::Engine
