#pragma once
// The engine on a headless Chromium: one browser process, one page target attached over the
// debugging pipe, its loads, history, viewport, pictures and events.
#include <map>
#include <memory>
#include <set>
#include <string>

#include "browser/engine/chromium/browser_process.h"
#include "browser/engine/chromium/connection.h"
#include "browser/engine/chromium/page_channel.h"
#include "browser/engine/chromium/screencast.h"
#include "browser/engine/engine.h"

namespace Brovis::Engine {

class ChromiumEngine : public Engine {
 public:
  // Starts the browser and attaches to its page; none on failure, with the reason in `error`.
  static std::unique_ptr<ChromiumEngine> Start(const ChromiumOptions& options, std::string& error);
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
  int browserProcessId() const override { return process_.pid(); }
  std::optional<std::string> evaluate(std::string_view script) override;
  // A screenshot of the view, taken and decoded on demand; only for comparison in measurements.
  std::optional<Win32::Surface> captureScreenshot();

 private:
  ChromiumEngine(BrowserProcess process, const ChromiumOptions& options);
  bool attach(std::string& error);
  CallResult call(std::string_view method, Json params = Json::object());
  void onEvent(const ProtocolEvent& event);
  void queue(EventKind kind, BrowserText url = {});
  bool stepHistory(int delta);
  void startNavigation(std::string_view method, Json params);
  // The page may look different now: a fence follows, so that a print knows which frame shows it.
  void noteChange();
  void postFence();
  // Waits, at most until `deadline`, for a picture that shows every change made so far.
  void awaitFreshPicture(std::chrono::steady_clock::time_point deadline);

  ChromiumOptions options_;
  BrowserProcess process_;
  std::unique_ptr<Connection> connection_;
  std::shared_ptr<PageChannel> channel_;
  std::string sessionId_;
  bool pageAlive_ = false;

  int width_ = 0;
  int height_ = 0;
  std::set<std::string> loadingFrames_;
  std::map<std::string, std::string> frameUrls_;
  int navigationsInFlight_ = 0;
  int startEntryId_ = -1;
  Screencast screencast_;
  // Changes made through this engine (and resizes), counted; and how far fences and prints have
  // caught up with them.
  std::uint64_t changeGeneration_ = 0;
  std::uint64_t fencedGeneration_ = 0;
  std::uint64_t shownGeneration_ = 0;
  bool fenceInFlight_ = false;
  std::uint64_t framesAtFence_ = 0;
  std::chrono::steady_clock::time_point fenceSettledAt_{};
  std::vector<EngineEvent> events_;
};

}  // namespace Brovis::Engine
