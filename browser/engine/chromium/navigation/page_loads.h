#pragma once
// The page's frames, loads and address, as the browser reports them: which frames are loading
// and since when, which document each one holds and whether it completed, the address the page
// has, which history entries the page added on its own, and the pilot's loads and history steps,
// kept from being overtaken by the page being left.
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "browser/engine/browser_text.h"
#include "browser/engine/chromium/navigation/page_added_entries.h"
#include "browser/engine/chromium/navigation/pilot_navigation.h"
#include "browser/engine/chromium/protocol/connection.h"

namespace Brovis::Engine {

class PageLoads {
 public:
  using Clock = std::chrono::steady_clock;

  struct Hooks {
    // A frame's document completed; `mainFrame` when it is the page's own. A load aborted or
    // replaced before its document completed raises nothing.
    std::function<void(BrowserText url, bool mainFrame)> completed;
    // The page's top document committed.
    std::function<void()> topCommitted;
  };

  // How long the loads of the page's frames count as busy, all of them together from the first
  // one's start: a frame that never finishes loading, or starts load after load, must not keep
  // the page busy for ever. The top document's own load counts for as long as it lasts. Loads
  // that follow a quieter pause than this start the count afresh.
  static constexpr std::chrono::milliseconds kFrameBusyLimit{1500};

  explicit PageLoads(Hooks hooks) : hooks_(std::move(hooks)) {}

  // A browser's page is attached: loads go to it. Loads the address that waited for it, if any,
  // and says whether it did.
  bool attach(Connection& connection, std::string sessionId);
  // The browser goes: its frames, loads and history with it. The page's address is kept, to be
  // loaded again by the next browser.
  void detach();

  // Takes the frame and navigation events; false for any other event.
  bool handle(const ProtocolEvent& event);

  // Loads the pilot's address now; the page must be attached.
  void load(const std::string& url);
  // Loads the address as soon as a page is attached.
  void loadWhenAttached(std::string url) { waitingUrl_ = std::move(url); }
  bool addressWaiting() const { return !waitingUrl_.empty(); }
  // The pilot clicked or typed into the page: an entry the page adds meanwhile is the pilot's.
  void pilotActed() { entries_.pilotActed(Clock::now()); }
  // Steps `delta` (-1 or +1) through `history`, the browser's listing of the page's history,
  // over the entries the page added on its own; false when there is no entry to step to.
  bool stepHistory(const Json& history, int delta);

  // A load is on its way, the page's own is loading, or its frames started loading not long ago.
  bool busy() const;
  // A load is on its way or the top document is loading; frames do not count. Once its content
  // is parsed, a top document whose load event waits for frames counts as loaded.
  bool loadingDocument() const;
  // The address the pilot asked for, while it has not committed; otherwise the one the page's
  // top document last committed (an error page's is the one it stands for).
  const std::string& address() const {
    return requestedUrl_.empty() ? committedUrl_ : requestedUrl_;
  }

 private:
  struct Frame {
    bool child = false;
    // As the browser reports it: a frame's loading lasts until its subframes' loads end too.
    bool loading = false;
    // A navigation to another document started and has not committed.
    bool navigating = false;
    // During the current load: a document committed, and its completion was raised.
    bool committed = false;
    bool completed = false;
    // The top document's own load event, and its content's, have fired.
    bool documentLoaded = false;
    bool contentLoaded = false;
    std::string url;
  };

  // handle() without the frames' stretch.
  bool take(const ProtocolEvent& event);
  void loadPilotAddress(const std::string& url, bool retry);
  void startNavigation(std::string_view method, Json params,
                       Connection::ReplyHandler onAnswer = nullptr);
  void goToHistoryEntry(int entryId, std::string url);
  void topCommitted(std::string url, const std::string& loaderId);
  // The frame's document completed, unless its load was aborted or replaced before.
  void complete(Frame& frame);
  // Asks for the history's listing, to learn the ids of new entries.
  void listHistory();
  bool framesLoading() const;
  // Follows the stretch of time during which frames keep loading.
  void noteFramesLoading(Clock::time_point now);

  Hooks hooks_;
  Connection* connection_ = nullptr;
  std::string sessionId_;
  // Tells an answer meant for a page already gone from one for the attached page.
  std::uint64_t attachment_ = 0;

  std::string committedUrl_;
  // The pilot's address until it commits; the loader that carries it once known, or any loader
  // for a history step.
  std::string requestedUrl_;
  std::string requestedLoader_;
  std::string lastTopLoader_;
  std::string waitingUrl_;
  PilotNavigation pilotNavigation_;
  PageAddedEntries entries_;
  std::uint64_t pilotLoads_ = 0;
  int navigationsInFlight_ = 0;
  bool listingInFlight_ = false;
  bool listingStale_ = false;
  std::map<std::string, Frame, std::less<>> frames_;
  bool framesWereLoading_ = false;
  Clock::time_point framesLoadingSince_{};
  Clock::time_point framesQuietSince_{};
};

}  // namespace Brovis::Engine
