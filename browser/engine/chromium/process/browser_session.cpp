#include "browser/engine/chromium/process/browser_session.h"

#include <algorithm>

namespace Brovis::Engine {

namespace {
constexpr int kMaxViewport = 16384;
constexpr std::chrono::milliseconds kStepLimit{5000};
constexpr const char* kStartPageLoaded =
    "new Promise(r => document.readyState === 'complete' ? r(true) : "
    "addEventListener('load', () => r(true), {once: true}))";
// Nobody can see a page's dialogs, so every document answers its own at once, as the engine
// answers any that still open: a message is acknowledged, a question declined. A page raising
// them without pause then costs no round trip each, and none is left open while the page is
// being left, where the browser no longer takes an answer for it.
constexpr const char* kAnswerDialogsInThePage =
    "alert = function alert() {}; confirm = function confirm() { return false; };"
    "prompt = function prompt() { return null; };";
}  // namespace

std::unique_ptr<BrowserSession> BrowserSession::Start(Connection::EventHandler onEvent, int width,
                                                      int height, bool frameControl,
                                                      std::string& error) {
  auto process = BrowserProcess::Launch(frameControl, error);
  if (!process) return nullptr;
  auto session = std::make_unique<BrowserSession>(Key{}, std::move(*process), std::move(onEvent));
  BrowserSession* self = session.get();
  // The browser starts with no page: the module's is made here, rendering only the frames the
  // engine asks for. Commands written now wait in the pipe until the browser reads them.
  Json target = {{"url", "about:blank"}, {"enableBeginFrameControl", frameControl}};
  if (width > 0 && height > 0) {
    target["width"] = std::min(width, kMaxViewport);
    target["height"] = std::min(height, kMaxViewport);
  }
  session->connection_->post(
      "Target.createTarget", std::move(target), "",
      [self, width, height](const CallResult& created) {
        if (!created) return self->fail("cannot open a page: " + created.message);
        self->attachTo(Field(*created.result, "targetId", ""), width, height);
      },
      kStartLimit);
  return session;
}

BrowserSession::BrowserSession(Key, BrowserProcess process, Connection::EventHandler onEvent)
    : process_(std::move(process)) {
  connection_ =
      std::make_unique<Connection>(PipeTransport(process_.takeReadEnd(), process_.takeWriteEnd()));
  // The browser's own events and its page's reach the owner; other targets' do not.
  connection_->setEventHandler([this, onEvent = std::move(onEvent)](const ProtocolEvent& e) {
    if (e.sessionId.empty() || e.sessionId == sessionId_) onEvent(e);
  });
}

BrowserSession::~BrowserSession() {
  // Nothing may call back into an owner that is going away.
  connection_->setEventHandler({});
  // The grace counts from here: asking can take a while when the browser does not read.
  const auto deadline = std::chrono::steady_clock::now() + closeGrace_;
  if (!connection_->closed() && closeGrace_.count() > 0)
    connection_->post("Browser.close", Json::object(), "");
  process_.stop(std::max(std::chrono::duration_cast<std::chrono::milliseconds>(
                             deadline - std::chrono::steady_clock::now()),
                         std::chrono::milliseconds{0}));
  connection_->close();
}

void BrowserSession::attachTo(const std::string& targetId, int width, int height) {
  connection_->post(
      "Target.attachToTarget", {{"targetId", targetId}, {"flatten", true}}, "",
      [this, width, height](const CallResult& attached) {
        if (!attached) return fail("cannot attach to the page: " + attached.message);
        sessionId_ = Field(*attached.result, "sessionId", "");
        configure(width, height);
      },
      kStepLimit);
}

void BrowserSession::configure(int width, int height) {
  // The page's session handles its commands in order: the last answer means all are done.
  const auto failOnError = [this](const CallResult& r) {
    if (!r && state_ == State::Attaching) fail(r.message);
  };
  connection_->post("Browser.setDownloadBehavior", {{"behavior", "deny"}}, "", failOnError,
                    kStepLimit);
  connection_->post("Page.enable", Json::object(), sessionId_, failOnError, kStepLimit);
  // The runtime's events are for its execution contexts; its console and exception reports,
  // which a page can raise as often and as large as it likes, are dropped unread.
  connection_->dropEvents({"Runtime.consoleAPICalled", "Runtime.exceptionThrown",
                           "Runtime.exceptionRevoked", "Runtime.inspectRequested"});
  connection_->post("Runtime.enable", Json::object(), sessionId_, failOnError, kStepLimit);
  connection_->post("Page.addScriptToEvaluateOnNewDocument", {{"source", kAnswerDialogsInThePage}},
                    sessionId_, failOnError, kStepLimit);
  connection_->post("Emulation.setFocusEmulationEnabled", {{"enabled", true}}, sessionId_,
                    failOnError, kStepLimit);
  if (width > 0 && height > 0)
    connection_->post(
        "Emulation.setDeviceMetricsOverride",
        {{"width", width}, {"height", height}, {"deviceScaleFactor", 1}, {"mobile", false}},
        sessionId_, failOnError, kStepLimit);
  // The blank page the browser starts with must have finished loading: a navigation that
  // overtakes it can lose the page's renderer.
  connection_->post(
      "Runtime.evaluate",
      {{"expression", kStartPageLoaded}, {"awaitPromise", true}, {"returnByValue", true}},
      sessionId_,
      [this](const CallResult& r) {
        if (state_ != State::Attaching) return;
        if (!r) return fail("the start page did not load: " + r.message);
        state_ = State::Ready;
      },
      kStepLimit);
}

bool BrowserSession::lost() {
  if (connection_->closed()) return true;
  if (!process_.exited()) return false;
  connection_->close();
  return true;
}

void BrowserSession::fail(const std::string& why) {
  if (state_ == State::Failed) return;
  state_ = State::Failed;
  failure_ = why;
  const std::string tail = process_.stderrTail(600);
  if (!tail.empty()) failure_ += "; the browser said: " + tail;
}

}  // namespace Brovis::Engine
