#pragma once
// The engine on a headless Chromium: one page in one browser, its loads, history, viewport,
// pictures and events, kept alive through crashes and hangs. A browser that dies, or a page that
// stops answering, is replaced in the background by a new browser on the same address; quick
// repeated failures stop that until the pilot loads an address.
#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "browser/engine/chromium/browser_session.h"
#include "browser/engine/chromium/page_channel.h"
#include "browser/engine/chromium/pilot_navigation.h"
#include "browser/engine/chromium/screencast.h"
#include "browser/engine/engine.h"

namespace Brovis::Engine {

class ChromiumEngine : public Engine {
 public:
  // Starts the browser and waits until its page is attached; none on failure, with the reason
  // in `error`.
  static std::unique_ptr<ChromiumEngine> Start(const ChromiumOptions& options, std::string& error);

 private:
  struct Key {
    explicit Key() = default;
  };

 public:
  // Use Start.
  ChromiumEngine(Key, const ChromiumOptions& options);
  ~ChromiumEngine() override;

  void navigate(BrowserTextView address) override;
  bool goBack() override;
  bool goForward() override;
  bool isBusy() override;
  std::shared_ptr<Document> document() override;
  void resize(int width, int height) override;
  const Win32::Surface* picture(std::chrono::milliseconds waitLimit) override;
  void poll() override;
  std::vector<EngineEvent> takeEvents() override;
  int waitHandle() const override;
  int browserProcessId() const override;
  std::vector<int> rendererProcessIds() override;
  std::size_t liveRemoteObjects() const override;
  int restartCount() const override { return restartsDone_; }
  std::size_t waitingCommands() const override {
    return browser_ ? browser_->connection().waitingCommands() : 0;
  }
  std::optional<std::string> evaluate(std::string_view script) override;

  // A screenshot of the view, taken and decoded on demand; only for comparison in measurements.
  std::optional<Win32::Surface> captureScreenshot();

  // Restarts allowed within kRestartWindow before the engine waits for the pilot.
  static constexpr int kMaxRestarts = 5;
  static constexpr std::chrono::seconds kRestartWindow{60};

 private:
  // The browser's life: started, attached, lost, replaced.
  bool startBrowser(std::string& error);
  // Notices a browser that died, a page that crashed or hung, or an attach that finished.
  void checkBrowser();
  void replaceBrowser();
  void onAttached();
  bool pageReady() const { return browser_ && pageReady_; }

  CallResult call(std::string_view method, Json params = Json::object());
  void onEvent(const ProtocolEvent& event);
  void onCallTimedOut();
  void queue(EventKind kind, BrowserText url = {});
  bool stepHistory(int delta);
  void startNavigation(std::string_view method, Json params,
                       Connection::ReplyHandler onAnswer = nullptr);
  void navigateNow(const std::string& url);
  void loadPilotAddress(const std::string& url, bool retry);

  // The page may look different now: a fence follows, so that a print knows which frame shows it.
  void applyViewport();
  void noteChange();
  void postFence();
  // Waits, at most until `deadline`, for a picture that shows every change made so far.
  void awaitFreshPicture(std::chrono::steady_clock::time_point deadline);

  ChromiumOptions options_;
  std::unique_ptr<BrowserSession> browser_;
  std::shared_ptr<PageChannel> channel_;
  bool pageReady_ = false;
  // The page's renderer crashed, or stopped answering even after its script was stopped.
  bool pageLost_ = false;
  // A call timed out: calls fail at once until the page answers again.
  bool unresponsive_ = false;
  // Since when a dialog of the page has been waiting for its answer.
  std::optional<std::chrono::steady_clock::time_point> dialogOpenSince_;
  std::chrono::steady_clock::time_point lastRecovery_{};
  std::deque<std::chrono::steady_clock::time_point> restartTimes_;
  int restartsDone_ = 0;
  bool restartsSuspended_ = false;
  // The address the page has (or is loading), and one to load once a new browser is attached.
  std::string currentUrl_;
  PilotNavigation pilotNavigation_;
  std::uint64_t pilotLoads_ = 0;
  std::string pendingUrl_;

  int width_ = 0;
  int height_ = 0;
  // The page's view does not have that size yet.
  bool viewportStale_ = false;
  std::chrono::steady_clock::time_point viewportRetryAfter_{};
  std::set<std::string> loadingFrames_;
  std::map<std::string, std::string> frameUrls_;
  int navigationsInFlight_ = 0;
  Screencast screencast_;
  // False from a browser's restart until its page has loaded again.
  bool framesShown_ = true;
  std::string mainFrameId_;
  std::vector<EngineEvent> events_;

  // Changes made through this engine (and resizes), counted; and how far fences and prints have
  // caught up with them.
  std::uint64_t changeGeneration_ = 0;
  std::uint64_t fencedGeneration_ = 0;
  std::uint64_t shownGeneration_ = 0;
  bool fenceInFlight_ = false;
  std::uint64_t framesAtFence_ = 0;
  std::chrono::steady_clock::time_point fenceSettledAt_{};
};

}  // namespace Brovis::Engine
