#include "browser/engine/chromium/chromium_engine.h"

#include <algorithm>

#include "browser/engine/chromium/navigation/address.h"
#include "browser/engine/chromium/navigation/load_event.h"
#include "browser/engine/chromium/page/remote_dom.h"

namespace Brovis::Engine {

namespace {

// Events beyond this many, uncollected, are dropped: nobody is processing messages.
constexpr std::size_t kMaxQueuedEvents = 4096;
constexpr int kMaxViewport = 16384;

// The view a display of that size is drawn at.
ViewSize ViewOf(int width, int height) {
  return {std::clamp(width, 1, kMaxViewport), std::clamp(height, 1, kMaxViewport)};
}

}  // namespace

std::unique_ptr<Engine> StartChromium(const ChromiumOptions& options) {
  return std::make_unique<ChromiumEngine>(options);
}

ChromiumEngine::ChromiumEngine(const ChromiumOptions& options)
    : options_(options),
      frames_([this] { queue(EventKind::Invalidated); }),
      supervisor_(options.callLimit, options.frameControl,
                  {[this](const ProtocolEvent& e) { onEvent(e); }, [this] { onAttached(); },
                   [this] { onLost(); }, [this] { return pilotLoads_.addressWaiting(); }}) {
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
                         [this] { return supervisor_.await(); },
                         [this] { history_.pilotActed(Clock::now()); }});
  frameTarget_ = std::make_unique<SessionFrameTarget>(session.connection(), session.sessionId());
  const auto [width, height] = supervisor_.startedViewport();
  frames_.attach(*frameTarget_, {width, height});
  navigations_.attach(session.connection(), session.sessionId());
  // A new browser shows the address loaded in it once that commits, not its blank start page.
  if (!pilotLoads_.attach()) frames_.allowDrawing();
  // A size given while the browser was starting, after it was asked for its view.
  frames_.resizeFor(displaySize_, options_.callLimit);
}

void ChromiumEngine::onLost() {
  // Whatever the old browser left (its page's objects, its loads, its frame on its way) goes with
  // it; its last picture stays on the display until the new one draws.
  if (channel_) channel_->detach();
  channel_.reset();
  pilotLoads_.detach(pageLoad_.committedUrl());
  navigations_.detach();
  history_.forget();
  failedLoads_.forget();
  pageLoad_.forget();
  frames_.detach();
  frameTarget_.reset();
}

void ChromiumEngine::queue(EventKind kind, BrowserText url, std::uint64_t completion) {
  // Repaints in a row say nothing more than one does; nor do refused windows.
  if ((kind == EventKind::Invalidated || kind == EventKind::NewWindow) && !events_.empty() &&
      events_.back().kind == kind)
    return;
  if (events_.size() >= kMaxQueuedEvents) {
    // Nobody takes them: a completion dropped is one nobody waits to handle.
    if (completion) pageLoad_.completionHandled(completion);
    return;
  }
  events_.push_back({kind, std::move(url), completion});
}

void ChromiumEngine::onLoadChange(const LoadChange& change) {
  const auto now = Clock::now();
  switch (change.kind) {
    case LoadChange::Kind::StartedNavigating:
      pilotLoads_.startedNavigating(change.loaderId);
      history_.startedNavigating(change.loaderId, pageLoad_.requested(), now);
      break;
    case LoadChange::Kind::Committed:
      pilotLoads_.committed(change.loaderId);
      history_.arrived(change.loaderId, change.url);
      failedLoads_.committed(change.documentId, change.loaderId, change.url, change.failed);
      frames_.allowDrawing();
      frames_.changed();
      break;
    case LoadChange::Kind::MovedWithinDocument:
      pilotLoads_.movedWithinDocument();
      history_.arrived({}, change.url);
      break;
    case LoadChange::Kind::Completed:
      // A child document's own loads show as the page's own changes do.
      if (change.top) frames_.changed();
      queue(EventKind::DocumentCompleted, FromUtf8Bytes(change.url), change.completion);
      break;
  }
}

void ChromiumEngine::onEvent(const ProtocolEvent& event) {
  BrowserSession* session = supervisor_.session();
  if (!session) return;
  const std::string_view m = event.method;
  const Json& p = event.params;
  if (const auto load = ParseLoadEvent(m, p)) {
    for (const LoadChange& change : pageLoad_.handle(*load, Clock::now())) onLoadChange(change);
    history_.listIfRefused();
    return;
  }
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
    if (m == "Runtime.executionContextCreated") failedLoads_.contextCreated(p);
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
  if (supervisor_.attached()) return pilotLoads_.load(url);
  pilotLoads_.loadWhenAttached(url);
  // Without a browser, one starts for the address now.
  checkBrowser();
}

bool ChromiumEngine::stepHistory(int delta) {
  checkBrowser();
  const auto listing = supervisor_.call("Page.getNavigationHistory");
  if (!listing) return false;
  auto url = history_.step(*listing.result, delta, Clock::now());
  if (!url) return false;
  pilotLoads_.historyStep(std::move(*url));
  return true;
}

bool ChromiumEngine::goBack() { return stepHistory(-1); }
bool ChromiumEngine::goForward() { return stepHistory(+1); }

bool ChromiumEngine::isBusy() {
  checkBrowser();
  // A browser being replaced is loading its page again.
  if (!supervisor_.attached()) return supervisor_.session() != nullptr;
  return pageLoad_.busy(Clock::now());
}

bool ChromiumEngine::isLoadingDocument() {
  checkBrowser();
  if (!supervisor_.attached()) return supervisor_.session() != nullptr;
  return pageLoad_.loadingDocument();
}

LoadProgress ChromiumEngine::progress() {
  checkBrowser();
  if (!supervisor_.attached() || !channel_) return LoadProgress::NoPage;
  return pageLoad_.loaded() ? LoadProgress::Loaded : LoadProgress::Loading;
}

void ChromiumEngine::completionHandled(std::uint64_t completion) {
  pageLoad_.completionHandled(completion);
}

std::shared_ptr<Document> ChromiumEngine::document() {
  checkBrowser();
  if (!supervisor_.attached() || !channel_) return nullptr;
  return std::make_shared<RemoteDocument>(channel_);
}

void ChromiumEngine::resize(int width, int height) {
  const ViewSize size = ViewOf(width, height);
  if (size == displaySize_) return;
  displaySize_ = size;
  // Kept for a browser that is still attaching or will be started again.
  supervisor_.setViewport(size.width, size.height);
  checkBrowser();
  if (supervisor_.attached()) frames_.resizeFor(size, options_.callLimit);
}

void ChromiumEngine::layOutForCommands() {
  checkBrowser();
  if (supervisor_.attached()) frames_.layOutFor(displaySize_, options_.callLimit);
}

const Win32::Surface* ChromiumEngine::picture(std::chrono::milliseconds waitLimit) {
  checkBrowser();
  return frames_.picture(displaySize_, waitLimit);
}

bool ChromiumEngine::pictureOwed(int width, int height) {
  checkBrowser();
  return frames_.pictureOwed(ViewOf(width, height));
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
