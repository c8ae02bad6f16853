#include "browser/engine/chromium/chromium_engine.h"

#include <algorithm>

#include "browser/engine/chromium/navigation/address.h"
#include "browser/engine/chromium/page/remote_dom.h"

namespace Brovis::Engine {

namespace {

using Clock = std::chrono::steady_clock;

// Events beyond this many, uncollected, are dropped: nobody is processing messages.
constexpr std::size_t kMaxQueuedEvents = 4096;
constexpr int kMaxViewport = 16384;

}  // namespace

std::unique_ptr<Engine> StartChromium(const ChromiumOptions& options) {
  return std::make_unique<ChromiumEngine>(options);
}

ChromiumEngine::ChromiumEngine(const ChromiumOptions& options)
    : options_(options),
      loads_({[this](BrowserText url, bool mainFrame) {
                // A frame's own loads show as the page's own changes do.
                if (mainFrame) frames_.changed();
                queue(EventKind::DocumentCompleted, std::move(url));
              },
              // A new browser's page shows its pictures once the address loaded in it commits,
              // not its blank start page.
              [this] {
                frames_.allowDrawing();
                frames_.changed();
              }}),
      frames_([this] { queue(EventKind::Invalidated); }),
      supervisor_(options.callLimit, options.frameControl,
                  {[this](const ProtocolEvent& e) { onEvent(e); }, [this] { onAttached(); },
                   [this] { onLost(); }, [this] { return loads_.addressWaiting(); }}) {
  supervisor_.start();
}

ChromiumEngine::~ChromiumEngine() {
  if (channel_) channel_->detach();
}

void ChromiumEngine::checkBrowser() { supervisor_.check(); }

void ChromiumEngine::onAttached() {
  BrowserSession& session = *supervisor_.session();
  channel_ = std::make_shared<PageChannel>(
      session.connection(), session.sessionId(), options_.callLimit,
      PageChannel::Hooks{[this] { frames_.changed(); }, [this] { supervisor_.callTimedOut(); },
                         [this] { return supervisor_.await(); }, [this] { loads_.pilotActed(); }});
  frameTarget_ = std::make_unique<SessionFrameTarget>(session.connection(), session.sessionId());
  const auto [width, height] = supervisor_.startedViewport();
  frames_.attach(*frameTarget_, {width, height});
  if (!loads_.attach(session.connection(), session.sessionId())) frames_.allowDrawing();
  // A size given while the browser was starting, after it was asked for its view.
  frames_.resizeFor(displaySize_, options_.callLimit);
}

void ChromiumEngine::onLost() {
  // Whatever the old browser left (its page's objects, its loads, its frame on its way) goes with
  // it; its last picture stays on the display until the new one draws.
  if (channel_) channel_->detach();
  channel_.reset();
  loads_.detach();
  frames_.detach();
  frameTarget_.reset();
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
  BrowserSession* session = supervisor_.session();
  if (!session) return;
  if (loads_.handle(event)) return;
  const std::string_view m = event.method;
  const Json& p = event.params;
  if (m == "Page.javascriptDialogOpening") {
    // An open dialog freezes the page's scripts and every later call, and nobody can see it:
    // it is answered at once. Messages are acknowledged; questions are declined.
    const std::string type = Field(p, "type", "");
    const bool accept = type == "alert" || type == "beforeunload";
    session->connection().post("Page.handleJavaScriptDialog", {{"accept", accept}},
                               session->sessionId());
    supervisor_.dialogOpened();
  } else if (m == "Page.javascriptDialogClosed") {
    supervisor_.dialogClosed();
  } else if (m == "Page.windowOpen") {
    queue(EventKind::NewWindow, FromUtf8Bytes(Field(p, "url", "")));
  } else if (m.starts_with("Runtime.executionContext")) {
    if (channel_) channel_->onContextEvent(m, p);
  } else if (m == "Inspector.targetCrashed" || m == "Inspector.detached" ||
             m == "Target.detachedFromTarget") {
    supervisor_.pageLost();
  }
}

void ChromiumEngine::navigate(BrowserTextView address) {
  const std::string url = NormalizeAddress(AsUtf8Bytes(address));
  if (url.empty()) return;
  // A browser that kept failing, or could not be started, gets its chances back at once.
  supervisor_.forgive();
  checkBrowser();
  // Not into a renderer that is failing: a page of the same site would share it, and die with it.
  if (supervisor_.attached() && supervisor_.rendererFailing()) supervisor_.replace();
  if (supervisor_.attached()) return loads_.load(url);
  loads_.loadWhenAttached(url);
  // Without a browser, one starts for the address now.
  checkBrowser();
}

bool ChromiumEngine::stepHistory(int delta) {
  checkBrowser();
  const auto history = supervisor_.call("Page.getNavigationHistory");
  return history && loads_.stepHistory(*history.result, delta);
}

bool ChromiumEngine::goBack() { return stepHistory(-1); }
bool ChromiumEngine::goForward() { return stepHistory(+1); }

bool ChromiumEngine::isBusy() {
  checkBrowser();
  // A browser being replaced is loading its page again.
  if (!supervisor_.attached()) return supervisor_.session() != nullptr;
  return loads_.busy();
}

bool ChromiumEngine::isLoadingDocument() {
  checkBrowser();
  if (!supervisor_.attached()) return supervisor_.session() != nullptr;
  return loads_.loadingDocument();
}

std::shared_ptr<Document> ChromiumEngine::document() {
  checkBrowser();
  if (!supervisor_.attached() || !channel_) return nullptr;
  return std::make_shared<RemoteDocument>(channel_);
}

void ChromiumEngine::resize(int width, int height) {
  const ViewSize size{std::clamp(width, 1, kMaxViewport), std::clamp(height, 1, kMaxViewport)};
  if (size == displaySize_) return;
  displaySize_ = size;
  // Kept for a browser that is still attaching or will be started again.
  supervisor_.setViewport(size.width, size.height);
  checkBrowser();
  if (supervisor_.attached()) frames_.resizeFor(size, options_.callLimit);
}

const Win32::Surface* ChromiumEngine::picture(std::chrono::milliseconds waitLimit) {
  checkBrowser();
  return frames_.picture(displaySize_, waitLimit);
}

bool ChromiumEngine::pictureOwed(int width, int height) {
  checkBrowser();
  return frames_.pictureOwed(
      {std::clamp(width, 1, kMaxViewport), std::clamp(height, 1, kMaxViewport)});
}

void ChromiumEngine::poll() { checkBrowser(); }

std::vector<EngineEvent> ChromiumEngine::takeEvents() { return std::exchange(events_, {}); }

int ChromiumEngine::waitHandle() const {
  const BrowserSession* session = supervisor_.session();
  return session && !session->connection().closed() ? session->connection().readHandle() : -1;
}

int ChromiumEngine::browserProcessId() const {
  return supervisor_.session() ? supervisor_.session()->pid() : 0;
}

std::vector<int> ChromiumEngine::rendererProcessIds() {
  std::vector<int> ids;
  BrowserSession* session = supervisor_.session();
  if (!session || session->lost()) return ids;
  auto info = session->connection().call("SystemInfo.getProcessInfo", Json::object(), "",
                                         options_.callLimit);
  if (!info) return ids;
  for (const Json& process : Field(*info.result, "processInfo", Json::array()))
    if (Field(process, "type", "") == "renderer") ids.push_back(Field(process, "id", 0));
  return ids;
}

std::size_t ChromiumEngine::waitingCommands() const {
  const BrowserSession* session = supervisor_.session();
  return session ? session->connection().waitingCommands() : 0;
}

std::size_t ChromiumEngine::liveRemoteObjects() const { return RemoteObject::LiveCount(); }

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
