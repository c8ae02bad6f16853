#include "browser/engine/chromium/chromium_engine.h"

#include <algorithm>
#include <iostream>

#include "browser/engine/chromium/address.h"
#include "browser/engine/chromium/remote_dom.h"

namespace Brovis::Engine {

namespace {

// The browser needs a moment to start before it answers its first command.
constexpr std::chrono::milliseconds kStartLimit{20000};
constexpr std::chrono::milliseconds kShutdownGrace{2000};
// Events beyond this many, uncollected, are dropped: nobody is processing messages.
constexpr std::size_t kMaxQueuedEvents = 4096;
constexpr int kMaxViewport = 16384;

// A fence in the page: it settles at the start of the next rendering step, which renders every
// change made before it. The frame of that step arrives after the fence's answer, on the same
// ordered pipe.
constexpr const char* kRenderedFence = "new Promise(r => requestAnimationFrame(() => r()))";
// A frame follows a rendered change within a frame interval or two; none by then means the
// change drew nothing new.
constexpr std::chrono::milliseconds kQuietAfterFence{40};

// PNG: lossless, so that a page's colours (the selection outline's red) arrive exactly.
Json ScreencastParameters() {
  return {{"format", "png"},
          {"everyNthFrame", 1},
          {"maxWidth", kMaxViewport},
          {"maxHeight", kMaxViewport}};
}

}  // namespace

std::unique_ptr<Engine> StartChromium(const ChromiumOptions& options) {
  std::string error;
  auto engine = ChromiumEngine::Start(options, error);
  if (!engine) std::cerr << "brovis: cannot start the browser: " << error << "\n";
  return engine;
}

std::unique_ptr<ChromiumEngine> ChromiumEngine::Start(const ChromiumOptions& options,
                                                      std::string& error) {
  auto process = BrowserProcess::Launch(error);
  if (!process) return nullptr;
  std::unique_ptr<ChromiumEngine> engine(new ChromiumEngine(std::move(*process), options));
  if (!engine->attach(error)) {
    const std::string tail = engine->process_.stderrTail(600);
    if (!tail.empty()) error += "; the browser said: " + tail;
    return nullptr;
  }
  return engine;
}

ChromiumEngine::ChromiumEngine(BrowserProcess process, const ChromiumOptions& options)
    : options_(options), process_(std::move(process)) {
  connection_ =
      std::make_unique<Connection>(PipeTransport(process_.takeReadEnd(), process_.takeWriteEnd()));
  connection_->setEventHandler([this](const ProtocolEvent& e) { onEvent(e); });
}

ChromiumEngine::~ChromiumEngine() {
  if (channel_) channel_->detach();
  channel_.reset();
  if (!connection_->closed()) connection_->post("Browser.close", Json::object(), "");
  process_.stop(kShutdownGrace);
  connection_->close();
}

CallResult ChromiumEngine::call(std::string_view method, Json params) {
  return connection_->call(method, std::move(params), sessionId_, options_.callLimit);
}

bool ChromiumEngine::attach(std::string& error) {
  auto targets = connection_->call("Target.getTargets", Json::object(), "", kStartLimit);
  if (!targets) {
    error = "no answer from the browser: " + targets.error;
    return false;
  }
  std::string targetId;
  for (const Json& info : targets.result->value("targetInfos", Json::array()))
    if (info.value("type", "") == "page") {
      targetId = info.value("targetId", "");
      break;
    }
  if (targetId.empty()) {
    auto created =
        connection_->call("Target.createTarget", {{"url", "about:blank"}}, "", options_.callLimit);
    if (!created) {
      error = "cannot open a page: " + created.error;
      return false;
    }
    targetId = created.result->value("targetId", "");
  }
  auto attached = connection_->call(
      "Target.attachToTarget", {{"targetId", targetId}, {"flatten", true}}, "", options_.callLimit);
  if (!attached) {
    error = "cannot attach to the page: " + attached.error;
    return false;
  }
  sessionId_ = attached.result->value("sessionId", "");
  connection_->call("Browser.setDownloadBehavior", {{"behavior", "deny"}}, "", options_.callLimit);

  for (const auto& [method, params] : std::initializer_list<std::pair<const char*, Json>>{
           {"Page.enable", Json::object()},
           {"Runtime.enable", Json::object()},
           {"Emulation.setFocusEmulationEnabled", {{"enabled", true}}},
           {"Page.startScreencast", ScreencastParameters()},
       }) {
    auto r = call(method, params);
    if (!r) {
      error = std::string(method) + " failed: " + r.error;
      return false;
    }
  }
  if (auto history = call("Page.getNavigationHistory")) {
    const Json entries = history.result->value("entries", Json::array());
    if (!entries.empty() && entries.front().is_object())
      startEntryId_ = entries.front().value("id", -1);
  }
  pageAlive_ = true;
  channel_ = std::make_shared<PageChannel>(*connection_, sessionId_, options_.callLimit,
                                           [this] { noteChange(); });
  return true;
}

void ChromiumEngine::queue(EventKind kind, BrowserText url) {
  // Repaints in a row say nothing more than one does.
  if (kind == EventKind::Invalidated && !events_.empty() &&
      events_.back().kind == EventKind::Invalidated)
    return;
  if (events_.size() >= kMaxQueuedEvents) return;
  events_.push_back({kind, std::move(url)});
}

void ChromiumEngine::onEvent(const ProtocolEvent& event) {
  if (!event.sessionId.empty() && event.sessionId != sessionId_) return;
  const std::string_view m = event.method;
  const Json& p = event.params;
  if (m == "Page.screencastFrame") {
    // Acknowledged at once: the browser sends no further frame until it is.
    connection_->post("Page.screencastFrameAck", {{"sessionId", p.value("sessionId", 0)}},
                      sessionId_);
    int frameWidth = 0, frameHeight = 0;
    if (auto meta = p.find("metadata"); meta != p.end() && meta->is_object()) {
      frameWidth = static_cast<int>(meta->value("deviceWidth", 0.0));
      frameHeight = static_cast<int>(meta->value("deviceHeight", 0.0));
    }
    if (auto data = p.find("data"); data != p.end() && data->is_string())
      screencast_.receive(data->get<std::string>(), frameWidth, frameHeight);
    queue(EventKind::Invalidated);
  } else if (m == "Page.javascriptDialogOpening") {
    // An open dialog freezes the page's scripts and every later call, and nobody can see it:
    // it is answered at once. Messages are acknowledged; questions are declined.
    const std::string type = p.value("type", "");
    const bool accept = type == "alert" || type == "beforeunload";
    connection_->post("Page.handleJavaScriptDialog", {{"accept", accept}}, sessionId_);
  } else if (m == "Page.windowOpen") {
    queue(EventKind::NewWindow, FromUtf8Bytes(p.value("url", "")));
  } else if (m == "Page.frameStartedLoading") {
    loadingFrames_.insert(p.value("frameId", ""));
  } else if (m == "Page.frameStoppedLoading") {
    const std::string frameId = p.value("frameId", "");
    loadingFrames_.erase(frameId);
    queue(EventKind::DocumentCompleted, FromUtf8Bytes(frameUrls_[frameId]));
  } else if (m == "Page.frameNavigated") {
    if (auto frame = p.find("frame"); frame != p.end() && frame->is_object())
      frameUrls_[frame->value("id", "")] = frame->value("url", "");
  } else if (m == "Page.frameDetached") {
    const std::string frameId = p.value("frameId", "");
    loadingFrames_.erase(frameId);
    frameUrls_.erase(frameId);
  } else if (m == "Inspector.detached" || m == "Inspector.targetCrashed" ||
             m == "Target.targetCrashed" || m == "Target.detachedFromTarget") {
    pageAlive_ = false;
    loadingFrames_.clear();
  }
}

void ChromiumEngine::startNavigation(std::string_view method, Json params) {
  ++navigationsInFlight_;
  connection_->post(method, std::move(params), sessionId_,
                    [this](const CallResult&) { --navigationsInFlight_; });
}

void ChromiumEngine::navigate(BrowserTextView address) {
  const std::string url = NormalizeAddress(AsUtf8Bytes(address));
  if (url.empty() || !pageAlive_) return;
  startNavigation("Page.navigate", {{"url", url}});
}

bool ChromiumEngine::stepHistory(int delta) {
  if (!pageAlive_) return false;
  auto history = call("Page.getNavigationHistory");
  if (!history) return false;
  const int current = history.result->value("currentIndex", -1);
  const Json entries = history.result->value("entries", Json::array());
  const int target = current + delta;
  if (current < 0 || target < 0 || target >= static_cast<int>(entries.size())) return false;
  // The blank page the browser starts with is not part of the pilot's history.
  if (entries[target].value("id", -1) == startEntryId_) return false;
  startNavigation("Page.navigateToHistoryEntry", {{"entryId", entries[target].value("id", 0)}});
  return true;
}

bool ChromiumEngine::goBack() { return stepHistory(-1); }
bool ChromiumEngine::goForward() { return stepHistory(+1); }

bool ChromiumEngine::isBusy() {
  connection_->poll();
  return pageAlive_ && (navigationsInFlight_ > 0 || !loadingFrames_.empty());
}

std::shared_ptr<Document> ChromiumEngine::document() {
  if (!pageAlive_ || !channel_) return nullptr;
  return std::make_shared<RemoteDocument>(channel_);
}

void ChromiumEngine::resize(int width, int height) {
  width = std::clamp(width, 1, kMaxViewport);
  height = std::clamp(height, 1, kMaxViewport);
  if (width == width_ && height == height_) return;
  if (!call("Emulation.setDeviceMetricsOverride",
            {{"width", width}, {"height", height}, {"deviceScaleFactor", 1}, {"mobile", false}}))
    return;
  width_ = width;
  height_ = height;
  // A resize alone does not always produce a frame; a restarted screencast sends the current
  // picture at once.
  call("Page.stopScreencast");
  call("Page.startScreencast", ScreencastParameters());
  noteChange();
}

void ChromiumEngine::noteChange() {
  ++changeGeneration_;
  postFence();
}

void ChromiumEngine::postFence() {
  if (fenceInFlight_ || connection_->closed()) return;
  fenceInFlight_ = true;
  connection_->post("Runtime.evaluate",
                    {{"expression", kRenderedFence}, {"awaitPromise", true}, {"silent", true}},
                    sessionId_, [this](const CallResult&) {
                      // Every change whose answer came before this one ran in the page before
                      // the fence, and so before the rendering step it waited for. (A failure
                      // means the page went away: nothing is left to render either.)
                      fenceInFlight_ = false;
                      fencedGeneration_ = changeGeneration_;
                      framesAtFence_ = screencast_.framesReceived();
                      fenceSettledAt_ = std::chrono::steady_clock::now();
                    });
}

const Win32::Surface* ChromiumEngine::picture(std::chrono::milliseconds waitLimit) {
  connection_->poll();
  if (waitLimit.count() > 0 && shownGeneration_ < changeGeneration_) {
    if (fencedGeneration_ < changeGeneration_) postFence();
    awaitFreshPicture(std::chrono::steady_clock::now() + waitLimit);
    // Waited once: a change that draws nothing new must not hold up every later print.
    shownGeneration_ = changeGeneration_;
  }
  return screencast_.latest();
}

void ChromiumEngine::awaitFreshPicture(std::chrono::steady_clock::time_point deadline) {
  using Clock = std::chrono::steady_clock;
  while (!connection_->closed()) {
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
    connection_->waitAndPoll(left);
  }
}

void ChromiumEngine::poll() { connection_->poll(); }

std::optional<Win32::Surface> ChromiumEngine::captureScreenshot() {
  auto shot = call("Page.captureScreenshot", {{"format", "png"}});
  if (!shot) return std::nullopt;
  Win32::Surface surface;
  if (!DecodeBase64Png(shot.result->value("data", ""), surface)) return std::nullopt;
  return surface;
}

std::optional<std::string> ChromiumEngine::evaluate(std::string_view script) {
  if (!channel_) return std::nullopt;
  auto result = channel_->evaluate(std::string(script), true);
  if (!result) return std::nullopt;
  const auto value = result->find("value");
  if (value == result->end()) return "null";
  return value->dump();
}

std::vector<EngineEvent> ChromiumEngine::takeEvents() { return std::exchange(events_, {}); }

int ChromiumEngine::waitHandle() const {
  return connection_->closed() ? -1 : connection_->readHandle();
}

}  // namespace Brovis::Engine
