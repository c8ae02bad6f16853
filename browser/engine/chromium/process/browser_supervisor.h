#pragma once
// The browser's life as the engine sees it: started in the background, attached, answering or
// not, lost and replaced. Nothing here waits for a browser to come up: its page is attached as
// its answers arrive, at the engine's checks. A browser that dies, a page that crashes, or one
// that stops answering even after its script was stopped, is replaced by a new browser; one that
// cannot be started is tried again later; both as the restart policy allows. The owner hears of
// each new page and of each browser that goes.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "browser/engine/chromium/process/browser_session.h"
#include "browser/engine/chromium/process/restart_policy.h"

namespace Brovis::Engine {

// The condition of the page the engine shows.
enum class PageState {
  NoBrowser,     // none runs: a failed start waits for its next try, or restarts for the pilot
  Attaching,     // a browser started and its page is being attached
  Ready,         // the page answers
  Unresponsive,  // a call timed out; the page's script was stopped and a probe awaits its answer
  Lost,          // crashed, or hung for good: replaced at the next check
};

class BrowserSupervisor {
 public:
  struct Hooks {
    // The browser's events, as they are read.
    Connection::EventHandler onEvent;
    // A browser's page is attached and ready.
    std::function<void()> attached;
    // The browser is about to go; whatever belonged to its page goes with it.
    std::function<void()> lost;
    // Whether a browser is needed while none runs (something waits to be loaded).
    std::function<bool()> wanted;
  };

  // `frameControl`: each browser renders only the frames the engine asks for.
  BrowserSupervisor(std::chrono::milliseconds callLimit, bool frameControl, Hooks hooks);
  ~BrowserSupervisor();
  BrowserSupervisor(const BrowserSupervisor&) = delete;
  BrowserSupervisor& operator=(const BrowserSupervisor&) = delete;

  // Starts a browser and returns at once; check() attaches its page. A browser that cannot be
  // started is tried again later.
  void start();
  // Reads what the browser sent and notices a browser that died, a page that crashed or hung
  // for good, a start that failed, or an attach that finished; starts a browser when one is due.
  void check();
  // The browser is lost: it goes, and a new one starts if the restart policy allows.
  void replace();
  // The pilot asks for a page: a browser that kept failing gets its chances back, and one that
  // could not be started is tried again at the next check.
  void forgive() { policy_.forgive(); }

  PageState state() const { return state_; }
  // True while the page answers.
  bool ready() const { return state_ == PageState::Ready; }
  // True while a page is attached, answering or not.
  bool attached() const { return ready() || state_ == PageState::Unresponsive; }
  // The running browser, or null.
  BrowserSession* session() { return session_.get(); }
  const BrowserSession* session() const { return session_.get(); }

  // True when the page answers; while its probe is out, waits for the probe's answer within the
  // call limit and the caller's budget.
  bool await();
  // A command on the page's session, with the engine's call limit; fails unless the page
  // answers (see await()).
  CallResult call(std::string_view method, Json params = Json::object());

  // Whether the page's renderer is failing: its probe is still out, or its scripts hold more
  // memory than a page needs, on their way to exhaust it. A page that shares the renderer would
  // die with it. Asks the page; no answer in time proves nothing, and is taken as any call's.
  bool rendererFailing();
  // A call on the page got no answer in time.
  void callTimedOut();
  // The page's renderer crashed or its target went away.
  void pageLost();
  // A dialog of the page is waiting for its answer, or was closed.
  void dialogOpened();
  void dialogClosed() { dialogOpenSince_.reset(); }

  // The view size a new browser starts with.
  void setViewport(int width, int height) { viewport_ = {width, height}; }
  // The view size the running browser was started with.
  std::pair<int, int> startedViewport() const { return startedViewport_; }

  int restartsMade() const { return policy_.restartsMade(); }

 private:
  // The browser could not be started, or did not come up: the next try waits its pause.
  void startFailed(const std::string& why);
  // The running browser goes, and whatever belonged to its page with it.
  void drop();

  std::chrono::milliseconds callLimit_;
  bool frameControl_;
  Hooks hooks_;
  RestartPolicy policy_;
  std::unique_ptr<BrowserSession> session_;
  // Tells a late answer meant for a browser already replaced from one for the running browser.
  std::uint64_t sessionNumber_ = 0;
  PageState state_ = PageState::NoBrowser;
  // Since when a dialog of the page has been waiting for its answer.
  std::optional<std::chrono::steady_clock::time_point> dialogOpenSince_;
  std::pair<int, int> viewport_{0, 0};
  std::pair<int, int> startedViewport_{0, 0};
};

}  // namespace Brovis::Engine
