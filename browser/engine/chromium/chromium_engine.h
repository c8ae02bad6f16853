#pragma once
// The engine on a headless Chromium: one page in one browser, its loads, history, viewport,
// pictures and events, kept alive through crashes and hangs by the browser's supervisor.
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "browser/engine/chromium/frames/frame_driver.h"
#include "browser/engine/chromium/frames/session_frame_target.h"
#include "browser/engine/chromium/navigation/failed_loads.h"
#include "browser/engine/chromium/navigation/history_steps.h"
#include "browser/engine/chromium/navigation/navigation_sender.h"
#include "browser/engine/chromium/navigation/page_load.h"
#include "browser/engine/chromium/navigation/pilot_loads.h"
#include "browser/engine/chromium/page/page_channel.h"
#include "browser/engine/chromium/process/browser_supervisor.h"
#include "browser/engine/engine.h"
#include "browser/engine/engine_diagnostics.h"

namespace Brovis::Engine {

class ChromiumEngine : public Engine, public EngineDiagnostics {
 public:
  // Starts the browser in the background and returns at once.
  explicit ChromiumEngine(const ChromiumOptions& options);
  ~ChromiumEngine() override;

  void navigate(BrowserTextView address) override;
  bool goBack() override;
  bool goForward() override;
  bool isBusy() override;
  bool isLoadingDocument() override;
  LoadProgress progress() override;
  void completionHandled(std::uint64_t completion) override;
  std::shared_ptr<Document> document() override;
  void resize(int width, int height) override;
  void layOutForCommands() override;
  const Win32::Surface* picture(std::chrono::milliseconds waitLimit) override;
  bool pictureOwed(int width, int height) override;
  void poll() override;
  std::vector<EngineEvent> takeEvents() override;
  int waitHandle() const override;

  int browserProcessId() const override;
  std::vector<int> rendererProcessIds() override;
  std::size_t liveRemoteObjects() const override;
  int restartCount() const override { return supervisor_.restartsMade(); }
  std::size_t waitingCommands() const override;
  std::optional<std::string> evaluate(std::string_view script) override;

 private:
  // Notices what changed in the browser's life.
  void checkBrowser();
  void onAttached();
  void onLost();
  void onEvent(const ProtocolEvent& event);
  // What a load event changed, turned into the engine's events and its neighbours' news.
  void onLoadChange(const LoadChange& change);
  void queue(EventKind kind, BrowserText url = {}, std::uint64_t completion = 0);
  bool stepHistory(int delta);

  using Clock = std::chrono::steady_clock;

  ChromiumOptions options_;
  PageLoad pageLoad_;
  NavigationSender navigations_{pageLoad_};
  PilotLoads pilotLoads_{navigations_,
                         [this](const std::string& loaderId, const std::string& reason) {
                           failedLoads_.failed(loaderId, reason);
                         }};
  HistorySteps history_{navigations_};
  // A failed load's notice is a change of the page, as its load is.
  FailedLoads failedLoads_{navigations_, [this] { frames_.changed(); }};
  FrameDriver frames_;
  std::vector<EngineEvent> events_;

  // The size of the display drawn next.
  ViewSize displaySize_;
  std::unique_ptr<SessionFrameTarget> frameTarget_;

  std::shared_ptr<PageChannel> channel_;
  // Last, so that it goes first: a browser that goes answers its waiting commands with a
  // failure, and their handlers reach into the members above.
  BrowserSupervisor supervisor_;
};

}  // namespace Brovis::Engine
