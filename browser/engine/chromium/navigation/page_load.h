#pragma once
// Where the page is in its load, with one owner: this. It follows the browser's load events and
// the navigations sent to the page, at times passed in, and says what changed instead of acting
// on it. The top document is requested (a navigation is on its way), committed, parsed and
// loaded; the child documents (in the page's iframes) count as busy only for a bounded stretch,
// since one that never finishes loading, or starts load after load, must not keep the page busy
// for ever.
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "browser/engine/chromium/navigation/load_event.h"

namespace Brovis::Engine {

// What a load event changed, for the engine to act on.
struct LoadChange {
  enum class Kind {
    StartedNavigating,    // the top document started a navigation to a new address
    Committed,            // the top document committed
    MovedWithinDocument,  // the top document's address changed, the document staying
    Completed,            // a document's load completed (a load aborted or replaced does not)
  };
  Kind kind;
  // Completed: whether it is the top document's.
  bool top = true;
  std::string loaderId;
  std::string url;
  // Committed: an error page stands for the address; the document's id.
  bool failed = false;
  std::string documentId{};
  // Completed: its number, for completionHandled().
  std::uint64_t completion = 0;
};

class PageLoad {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Stage { Requested, Committed, Parsed, Loaded };

  // How long the child documents' loads count as busy, all of them together from the first one's
  // start. Loads that follow a quieter pause than this start the count afresh.
  static constexpr std::chrono::milliseconds kChildBusyLimit{1500};

  // Takes a load event at `now`; what it changed, in order.
  std::vector<LoadChange> handle(const LoadEvent& event, Clock::time_point now);
  // A navigation of the top document was sent, or answered (whether it commits or not).
  void navigationSent() { ++navigationsInFlight_; }
  void navigationAnswered();
  // The window's handler of completion number `completion` has run.
  void completionHandled(std::uint64_t completion);
  // The page went with its browser. Completions already told keep their numbers.
  void forget();

  // The top document's stage. A page with nothing loading is Loaded.
  Stage stage() const;
  // A navigation of ours is on its way.
  bool requested() const { return navigationsInFlight_ > 0; }
  // The top document is loading. Once its content is parsed, one whose load event waits only for
  // child documents counts as loaded.
  bool loadingDocument() const;
  // The top document is loading, or child documents started loading less than the limit ago.
  bool busy(Clock::time_point now) const;
  // A completion was told and its handler has not run yet: it will reset what the pilot does.
  bool completionUnhandled() const { return handledCompletion_ < lastCompletion_; }
  // Loaded for a caller that waits for the page: its top document is, and no completion's
  // handler is still to run.
  bool loaded() const { return !loadingDocument() && !completionUnhandled(); }
  // The address the top document last committed (an error page's is the one it stands for).
  const std::string& committedUrl() const { return committedUrl_; }

 private:
  struct Document {
    bool child = false;
    // As the browser reports it: a document's loading lasts until its children's loads end too.
    bool loading = false;
    // A navigation to another document started and has not committed.
    bool navigating = false;
    // During the current load: a document committed, and its completion was told.
    bool committed = false;
    bool completed = false;
    // The top document's content was parsed, and its own load event fired.
    bool parsed = false;
    bool loaded = false;
    std::string url;
  };

  const Document* top() const;
  bool childrenLoading() const;
  // The document's load completed, unless it was aborted or replaced before.
  void complete(Document& document, std::vector<LoadChange>& changes);
  // Follows the stretch of time during which child documents keep loading.
  void noteChildrenLoading(Clock::time_point now);

  std::map<std::string, Document, std::less<>> documents_;
  int navigationsInFlight_ = 0;
  std::string committedUrl_;
  bool childrenWereLoading_ = false;
  Clock::time_point childrenLoadingSince_{};
  Clock::time_point childrenQuietSince_{};
  std::uint64_t lastCompletion_ = 0;
  std::uint64_t handledCompletion_ = 0;
};

}  // namespace Brovis::Engine
