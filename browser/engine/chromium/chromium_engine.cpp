#include "browser/engine/chromium/chromium_engine.h"

#include <algorithm>
#include <iostream>

#include "browser/engine/call_budget.h"
#include "browser/engine/chromium/address.h"
#include "browser/engine/chromium/remote_dom.h"

namespace Brovis::Engine {

namespace {

using Clock = std::chrono::steady_clock;

// Events beyond this many, uncollected, are dropped: nobody is processing messages.
constexpr std::size_t kMaxQueuedEvents = 4096;
constexpr int kMaxViewport = 16384;
// After a call timed out and the page's script was stopped, the page has this long to answer.
constexpr std::chrono::milliseconds kProbeLimit{1000};
// A page that stops answering again this soon after it recovered is taken as hung for good.
constexpr std::chrono::seconds kRelapseWindow{10};
// Dialogs are answered at once; one still open after this long could not be answered (the
// browser refuses to answer a page it is leaving) and holds the page's renderer for good.
constexpr std::chrono::milliseconds kDialogLimit{1500};
// A resize the browser did not answer in time is tried again after this long.
constexpr std::chrono::seconds kViewportRetryDelay{2};

// A fence in the page: it settles at the start of the next rendering step, which renders every
// change made before it. The frame of that step arrives after the fence's answer, on the same
// ordered pipe.
constexpr const char* kRenderedFence = "new Promise(r => requestAnimationFrame(() => r()))";
// A frame follows a rendered change within a frame interval or two; none by then means the
// change drew nothing new.
constexpr std::chrono::milliseconds kQuietAfterFence{40};

}  // namespace

std::unique_ptr<Engine> StartChromium(const ChromiumOptions& options) {
  std::string error;
  auto engine = ChromiumEngine::Start(options, error);
  if (!engine) std::cerr << "brovis: cannot start the browser: " << error << "\n";
  return engine;
}

std::unique_ptr<ChromiumEngine> ChromiumEngine::Start(const ChromiumOptions& options,
                                                      std::string& error) {
  auto engine = std::make_unique<ChromiumEngine>(Key{}, options);
  if (!engine->startBrowser(error)) return nullptr;
  engine->browser_->waitUntilAttached(BrowserSession::kStartLimit);
  if (engine->browser_->state() != BrowserSession::State::Ready) {
    error = engine->browser_->failure();
    return nullptr;
  }
  engine->onAttached();
  return engine;
}

ChromiumEngine::ChromiumEngine(Key, const ChromiumOptions& options) : options_(options) {}

ChromiumEngine::~ChromiumEngine() {
  if (channel_) channel_->detach();
  channel_.reset();
  browser_.reset();
}

bool ChromiumEngine::startBrowser(std::string& error) {
  browser_ =
      BrowserSession::Start([this](const ProtocolEvent& e) { onEvent(e); }, width_, height_, error);
  // The new browser is given the size as it stands now.
  viewportStale_ = false;
  return browser_ != nullptr;
}

void ChromiumEngine::onAttached() {
  pageReady_ = true;
  pageLost_ = false;
  unresponsive_ = false;
  channel_ = std::make_shared<PageChannel>(
      browser_->connection(), browser_->sessionId(), options_.callLimit,
      PageChannel::Hooks{[this] { noteChange(); }, [this] { onCallTimedOut(); },
                         [this] { return !unresponsive_ && !pageLost_; }});
  if (!pendingUrl_.empty())
    navigateNow(std::exchange(pendingUrl_, {}));
  else
    framesShown_ = true;
}

void ChromiumEngine::checkBrowser() {
  if (!browser_) {
    if (!restartsSuspended_ && !pendingUrl_.empty()) replaceBrowser();
    return;
  }
  browser_->connection().poll();
  if (!browser_) return;
  if (dialogOpenSince_ && Clock::now() - *dialogOpenSince_ > kDialogLimit) pageLost_ = true;
  if (browser_->lost() || pageLost_ || browser_->state() == BrowserSession::State::Failed) {
    replaceBrowser();
    return;
  }
  if (!pageReady_ && browser_->state() == BrowserSession::State::Ready) onAttached();
  applyViewport();
}

void ChromiumEngine::replaceBrowser() {
  // Whatever the old browser left (its page's objects, its loads, its pending fence) goes with it;
  // its last picture stays on the display until the new one draws.
  if (channel_) channel_->detach();
  channel_.reset();
  if (browser_) {
    if (pendingUrl_.empty()) pendingUrl_ = currentUrl_;
    browser_->setCloseGrace(std::chrono::milliseconds{0});
    browser_.reset();
  }
  pageReady_ = false;
  pageLost_ = false;
  unresponsive_ = false;
  dialogOpenSince_.reset();
  pilotNavigation_.forget();
  framesShown_ = false;
  loadingFrames_.clear();
  frameUrls_.clear();
  navigationsInFlight_ = 0;
  fenceInFlight_ = false;
  fencedGeneration_ = shownGeneration_ = changeGeneration_;

  const auto now = Clock::now();
  while (!restartTimes_.empty() && now - restartTimes_.front() > kRestartWindow)
    restartTimes_.pop_front();
  if (static_cast<int>(restartTimes_.size()) >= kMaxRestarts) {
    // Failing again and again: wait for the pilot to load an address.
    restartsSuspended_ = true;
    return;
  }
  restartTimes_.push_back(now);
  ++restartsDone_;
  std::string error;
  if (!startBrowser(error)) std::cerr << "brovis: cannot restart the browser: " << error << "\n";
}

CallResult ChromiumEngine::call(std::string_view method, Json params) {
  // A page that stopped answering is left alone until it answers its probe again.
  if (!pageReady() || unresponsive_) return {std::nullopt, "no page"};
  return browser_->connection().call(method, std::move(params), browser_->sessionId(),
                                     options_.callLimit);
}

void ChromiumEngine::onCallTimedOut() {
  if (!pageReady() || unresponsive_ || pageLost_) return;
  if (lastRecovery_ != Clock::time_point{} && Clock::now() - lastRecovery_ < kRelapseWindow) {
    pageLost_ = true;
    return;
  }
  // Stop whatever script holds the page, then see whether it answers again.
  unresponsive_ = true;
  Connection& connection = browser_->connection();
  connection.post("Runtime.terminateExecution", Json::object(), browser_->sessionId());
  connection.post(
      "Runtime.evaluate", {{"expression", "0"}, {"returnByValue", true}}, browser_->sessionId(),
      [this](const CallResult& answer) {
        if (answer) {
          unresponsive_ = false;
          lastRecovery_ = Clock::now();
        } else {
          pageLost_ = true;
        }
      },
      kProbeLimit);
}

void ChromiumEngine::queue(EventKind kind, BrowserText url) {
  // Repaints in a row say nothing more than one does; nor do refused windows.
  if ((kind == EventKind::Invalidated || kind == EventKind::NewWindow) && !events_.empty() &&
      events_.back().kind == kind)
    return;
  if (events_.size() >= kMaxQueuedEvents) return;
  events_.push_back({kind, std::move(url)});
}

void ChromiumEngine::onEvent(const ProtocolEvent& event) {
  if (!browser_) return;
  if (!event.sessionId.empty() && event.sessionId != browser_->sessionId()) return;
  Connection& connection = browser_->connection();
  const std::string_view m = event.method;
  const Json& p = event.params;
  if (m == "Page.screencastFrame") {
    // Acknowledged at once: the browser sends no further frame until it is.
    connection.post("Page.screencastFrameAck", {{"sessionId", p.value("sessionId", 0)}},
                    browser_->sessionId());
    // A browser started again shows its blank start page first; the display keeps the last
    // picture of the page until the page itself is back.
    if (!framesShown_) return;
    if (auto data = p.find("data"); data != p.end() && data->is_string())
      screencast_.receive(data->get<std::string>());
    queue(EventKind::Invalidated);
  } else if (m == "Page.javascriptDialogOpening") {
    // An open dialog freezes the page's scripts and every later call, and nobody can see it:
    // it is answered at once. Messages are acknowledged; questions are declined.
    const std::string type = p.value("type", "");
    const bool accept = type == "alert" || type == "beforeunload";
    connection.post("Page.handleJavaScriptDialog", {{"accept", accept}}, browser_->sessionId());
    if (!dialogOpenSince_) dialogOpenSince_ = Clock::now();
  } else if (m == "Page.javascriptDialogClosed") {
    dialogOpenSince_.reset();
  } else if (m == "Page.windowOpen") {
    queue(EventKind::NewWindow, FromUtf8Bytes(p.value("url", "")));
  } else if (m == "Page.frameStartedLoading") {
    loadingFrames_.insert(p.value("frameId", ""));
  } else if (m == "Page.frameStoppedLoading") {
    const std::string frameId = p.value("frameId", "");
    loadingFrames_.erase(frameId);
    if (frameId == mainFrameId_) framesShown_ = true;
    queue(EventKind::DocumentCompleted, FromUtf8Bytes(frameUrls_[frameId]));
  } else if (m == "Page.frameStartedNavigating") {
    if (p.value("frameId", "") == mainFrameId_ &&
        p.value("navigationType", "") == "differentDocument")
      pilotNavigation_.startedNavigating(p.value("loaderId", ""));
  } else if (m == "Page.frameNavigated") {
    if (auto frame = p.find("frame"); frame != p.end() && frame->is_object()) {
      const std::string url = frame->value("url", "");
      frameUrls_[frame->value("id", "")] = url;
      // The main frame's address is the page's; an error page keeps the address it stands for.
      if (!frame->contains("parentId")) {
        currentUrl_ = frame->value("unreachableUrl", url);
        mainFrameId_ = frame->value("id", "");
        if (auto again = pilotNavigation_.committed(frame->value("loaderId", "")))
          loadPilotAddress(*again, true);
      }
    }
  } else if (m == "Page.frameDetached") {
    const std::string frameId = p.value("frameId", "");
    loadingFrames_.erase(frameId);
    frameUrls_.erase(frameId);
  } else if (m.starts_with("Runtime.executionContext")) {
    if (channel_) channel_->onContextEvent(m, p);
  } else if (m == "Inspector.targetCrashed" || m == "Inspector.detached" ||
             m == "Target.detachedFromTarget") {
    pageLost_ = true;
  }
}

void ChromiumEngine::startNavigation(std::string_view method, Json params,
                                     Connection::ReplyHandler onAnswer) {
  ++navigationsInFlight_;
  browser_->connection().post(method, std::move(params), browser_->sessionId(),
                              [this, onAnswer = std::move(onAnswer)](const CallResult& answer) {
                                if (navigationsInFlight_ > 0) --navigationsInFlight_;
                                if (onAnswer) onAnswer(answer);
                              });
}

void ChromiumEngine::navigateNow(const std::string& url) { loadPilotAddress(url, false); }

void ChromiumEngine::loadPilotAddress(const std::string& url, bool retry) {
  currentUrl_ = url;
  pilotNavigation_.started(url, retry);
  const std::uint64_t load = ++pilotLoads_;
  startNavigation("Page.navigate", {{"url", url}}, [this, load](const CallResult& answer) {
    // An answer to an earlier load says nothing about this one.
    if (load != pilotLoads_) return;
    std::optional<std::string> loaderId;
    if (answer && !answer.result->contains("errorText") &&
        !answer.result->value("isDownload", false))
      loaderId = answer.result->value("loaderId", "");
    if (auto again = pilotNavigation_.answered(std::move(loaderId))) loadPilotAddress(*again, true);
  });
}

void ChromiumEngine::navigate(BrowserTextView address) {
  const std::string url = NormalizeAddress(AsUtf8Bytes(address));
  if (url.empty()) return;
  // The pilot asks for a page: a browser that kept failing gets its chances back.
  if (restartsSuspended_) {
    restartsSuspended_ = false;
    restartTimes_.clear();
  }
  checkBrowser();
  if (!pageReady()) {
    pendingUrl_ = url;
    if (!browser_) replaceBrowser();
    return;
  }
  navigateNow(url);
}

bool ChromiumEngine::stepHistory(int delta) {
  checkBrowser();
  if (!pageReady()) return false;
  auto history = call("Page.getNavigationHistory");
  if (!history) return false;
  const int current = history.result->value("currentIndex", -1);
  const Json entries = history.result->value("entries", Json::array());
  const int target = current + delta;
  if (current < 0 || target < 0 || target >= static_cast<int>(entries.size())) return false;
  // The blank page the browser starts with is not part of the pilot's history.
  if (target == 0 && entries[0].value("url", "") == "about:blank") return false;
  pilotNavigation_.forget();
  startNavigation("Page.navigateToHistoryEntry", {{"entryId", entries[target].value("id", 0)}});
  return true;
}

bool ChromiumEngine::goBack() { return stepHistory(-1); }
bool ChromiumEngine::goForward() { return stepHistory(+1); }

bool ChromiumEngine::isBusy() {
  checkBrowser();
  // A browser being replaced is loading its page again.
  if (!pageReady()) return browser_ != nullptr;
  return navigationsInFlight_ > 0 || !loadingFrames_.empty();
}

std::shared_ptr<Document> ChromiumEngine::document() {
  checkBrowser();
  if (!pageReady() || !channel_) return nullptr;
  return std::make_shared<RemoteDocument>(channel_);
}

void ChromiumEngine::resize(int width, int height) {
  width = std::clamp(width, 1, kMaxViewport);
  height = std::clamp(height, 1, kMaxViewport);
  if (width == width_ && height == height_ && !viewportStale_) return;
  // Kept for a browser that is still attaching or will be started again.
  width_ = width;
  height_ = height;
  viewportStale_ = true;
  viewportRetryAfter_ = {};
  checkBrowser();
}

void ChromiumEngine::applyViewport() {
  if (!viewportStale_ || !pageReady() || Clock::now() < viewportRetryAfter_) return;
  // A call cut short by the caller's time budget leaves the size to the next chance; until then
  // the display shows the older picture. One that timed out (a large view takes a while) is
  // tried again a little later, not at every chance. A resize alone does not always produce a
  // frame; a restarted screencast sends the current picture at once.
  const std::pair<const char*, Json> steps[] = {
      {"Emulation.setDeviceMetricsOverride",
       {{"width", width_}, {"height", height_}, {"deviceScaleFactor", 1}, {"mobile", false}}},
      {"Page.stopScreencast", Json::object()},
      {"Page.startScreencast", ScreencastParameters()}};
  for (const auto& [method, params] : steps) {
    if (const CallResult result = call(method, params); !result) {
      if (result.error.find("timed out") != std::string::npos)
        viewportRetryAfter_ = Clock::now() + kViewportRetryDelay;
      return;
    }
  }
  viewportStale_ = false;
  noteChange();
}

void ChromiumEngine::noteChange() {
  ++changeGeneration_;
  postFence();
}

void ChromiumEngine::postFence() {
  if (fenceInFlight_ || !pageReady() || browser_->lost()) return;
  fenceInFlight_ = true;
  const std::uint64_t generation = changeGeneration_;
  Json fence = {{"expression", kRenderedFence}, {"awaitPromise", true}, {"silent", true}};
  // In the module's world once it is made: the page's own may have replaced what the fence uses.
  if (const auto world = channel_ ? channel_->knownWorld() : std::nullopt)
    fence["contextId"] = *world;
  browser_->connection().post(
      "Runtime.evaluate", std::move(fence), browser_->sessionId(),
      [this, generation](const CallResult&) {
        // Every change counted when the fence was sent ran in the page before it, and so before
        // the rendering step it waited for. A change answered while the fence was on its way may
        // have run after that step: it needs a fence of its own. (A failure means the page went
        // away: nothing is left to render either.)
        fenceInFlight_ = false;
        fencedGeneration_ = std::max(fencedGeneration_, generation);
        framesAtFence_ = screencast_.framesReceived();
        fenceSettledAt_ = Clock::now();
        if (fencedGeneration_ < changeGeneration_) postFence();
      },
      kProbeLimit);
}

const Win32::Surface* ChromiumEngine::picture(std::chrono::milliseconds waitLimit) {
  checkBrowser();
  if (waitLimit.count() > 0 && shownGeneration_ < changeGeneration_ && pageReady()) {
    if (fencedGeneration_ < changeGeneration_) postFence();
    awaitFreshPicture(CallBudget::Deadline(Clock::now() + waitLimit));
    // Waited once: a change that draws nothing new must not hold up every later print.
    shownGeneration_ = changeGeneration_;
  }
  return screencast_.latest();
}

void ChromiumEngine::awaitFreshPicture(Clock::time_point deadline) {
  while (pageReady() && !browser_->lost()) {
    Clock::time_point until = deadline;
    if (fencedGeneration_ >= changeGeneration_) {
      // Every change is in a rendering step by now: a frame after the fence shows them all.
      if (screencast_.framesReceived() > framesAtFence_ && screencast_.newestWidth() == width_ &&
          screencast_.newestHeight() == height_)
        return;
      // No frame so soon after the fence: the changes drew nothing new.
      until = std::min(deadline, fenceSettledAt_ + kQuietAfterFence);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    if (left.count() <= 0) return;
    browser_->connection().waitAndPoll(left);
  }
}

void ChromiumEngine::poll() { checkBrowser(); }

std::vector<EngineEvent> ChromiumEngine::takeEvents() { return std::exchange(events_, {}); }

int ChromiumEngine::waitHandle() const {
  return browser_ && !browser_->lost() ? browser_->connection().readHandle() : -1;
}

int ChromiumEngine::browserProcessId() const { return browser_ ? browser_->pid() : 0; }

std::vector<int> ChromiumEngine::rendererProcessIds() {
  std::vector<int> ids;
  if (!browser_ || browser_->lost()) return ids;
  auto info = browser_->connection().call("SystemInfo.getProcessInfo", Json::object(), "",
                                          options_.callLimit);
  if (!info) return ids;
  for (const Json& process : info.result->value("processInfo", Json::array()))
    if (process.value("type", "") == "renderer") ids.push_back(process.value("id", 0));
  return ids;
}

std::size_t ChromiumEngine::liveRemoteObjects() const { return RemoteObject::LiveCount(); }

std::optional<Win32::Surface> ChromiumEngine::captureScreenshot() {
  auto shot = call("Page.captureScreenshot", {{"format", "png"}});
  if (!shot) return std::nullopt;
  Win32::Surface surface;
  if (!DecodeBase64Png(shot.result->value("data", ""), surface)) return std::nullopt;
  return surface;
}

std::optional<std::string> ChromiumEngine::evaluate(std::string_view script) {
  checkBrowser();
  if (!channel_) return std::nullopt;
  auto result = channel_->evaluate(std::string(script), true);
  if (!result) return std::nullopt;
  const auto value = result->find("value");
  if (value == result->end()) return "null";
  return value->dump();
}

}  // namespace Brovis::Engine
