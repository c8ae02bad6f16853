#include "browser/engine/chromium/process/browser_supervisor.h"

#include <iostream>

#include "browser/engine/call_budget.h"

namespace Brovis::Engine {

namespace {

using Clock = std::chrono::steady_clock;

// After a call timed out and the page's script was stopped, the page has this long to answer.
// Generous: what a stopped script leaves is a renderer that is only slow (laying out a long
// text, on a machine whose cores a simulator takes), and replacing it loses the pilot's page.
constexpr std::chrono::milliseconds kProbeLimit{10000};
// Scripts holding this much of the renderer's memory are taken as eating it: pages need far
// less, and the renderer dies at a few times this.
constexpr double kFailingHeapBytes = 1024.0 * 1024 * 1024;
// Dialogs are answered at once; one still open after this long could not be answered (the
// browser refuses to answer a page it is leaving) and holds the page's renderer for good.
constexpr std::chrono::milliseconds kDialogLimit{1500};

}  // namespace

BrowserSupervisor::BrowserSupervisor(std::chrono::milliseconds callLimit, bool frameControl,
                                     Hooks hooks)
    : callLimit_(callLimit), frameControl_(frameControl), hooks_(std::move(hooks)) {}

BrowserSupervisor::~BrowserSupervisor() {
  // The browser's waiting commands fail as it goes; their handlers still find this object whole.
  session_.reset();
}

void BrowserSupervisor::start() {
  std::string error;
  session_ = BrowserSession::Start(hooks_.onEvent, viewport_.first, viewport_.second, frameControl_,
                                   error);
  ++sessionNumber_;
  startedViewport_ = viewport_;
  state_ = session_ ? PageState::Attaching : PageState::NoBrowser;
  if (!session_) startFailed(error);
}

void BrowserSupervisor::startFailed(const std::string& why) {
  drop();
  // Said once for a run of failures: a browser that never starts would fill the log otherwise.
  if (!policy_.retrying())
    std::cerr << "brovis: the browser did not start (" << why << "); trying again\n";
  policy_.startFailed(Clock::now());
}

void BrowserSupervisor::drop() {
  if (session_) {
    if (hooks_.lost) hooks_.lost();
    session_->setCloseGrace(std::chrono::milliseconds{0});
    session_.reset();
  }
  state_ = PageState::NoBrowser;
  dialogOpenSince_.reset();
}

void BrowserSupervisor::check() {
  if (!session_) {
    if (policy_.retrying()) {
      if (Clock::now() >= policy_.retryAt()) start();
    } else if (!policy_.suspended() && hooks_.wanted && hooks_.wanted()) {
      replace();
    }
    return;
  }
  session_->connection().poll();
  if (!session_) return;
  if (dialogOpenSince_ && Clock::now() - *dialogOpenSince_ > kDialogLimit) state_ = PageState::Lost;
  if (session_->lost() || state_ == PageState::Lost ||
      session_->state() == BrowserSession::State::Failed) {
    if (state_ == PageState::Attaching)
      return startFailed(session_->failure().empty() ? "it exited" : session_->failure());
    return replace();
  }
  if (state_ == PageState::Attaching && session_->state() == BrowserSession::State::Ready) {
    state_ = PageState::Ready;
    policy_.startSucceeded();
    if (hooks_.attached) hooks_.attached();
  }
}

void BrowserSupervisor::replace() {
  drop();
  // Failing again and again: the policy waits for the pilot to load an address.
  if (policy_.allowRestart(Clock::now())) start();
}

bool BrowserSupervisor::await() {
  // Nothing but the probe is sent meanwhile, so that a slow page is not given more to do; a
  // call waits for its answer within its own limit and the caller's budget.
  const auto until = Clock::now() + CallBudget::Limit(callLimit_);
  while (state_ == PageState::Unresponsive && session_ && !session_->connection().closed()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
    if (left.count() <= 0) break;
    session_->connection().waitAndPoll(left);
  }
  return ready();
}

CallResult BrowserSupervisor::call(std::string_view method, Json params) {
  if (!await()) return CallResult::Failure(CallError::Closed, method, callLimit_, "no page");
  return session_->connection().call(method, std::move(params), session_->sessionId(), callLimit_);
}

bool BrowserSupervisor::rendererFailing() {
  if (state_ == PageState::Unresponsive) return true;
  if (!ready()) return false;
  const CallResult usage = session_->connection().call("Runtime.getHeapUsage", Json::object(),
                                                       session_->sessionId(), callLimit_);
  // Silence is what any call's is: the page's script is stopped and the page asked again.
  if (usage.error == CallError::TimedOut) callTimedOut();
  return usage && Field(*usage.result, "usedSize", 0.0) > kFailingHeapBytes;
}

void BrowserSupervisor::callTimedOut() {
  if (!ready()) return;
  // Stop whatever script holds the page, then see whether it answers again. Only a page that
  // still cannot answer is replaced, however often it was slow before.
  state_ = PageState::Unresponsive;
  Connection& connection = session_->connection();
  connection.post("Runtime.terminateExecution", Json::object(), session_->sessionId());
  connection.post(
      "Runtime.evaluate", {{"expression", "0"}, {"returnByValue", true}}, session_->sessionId(),
      [this, number = sessionNumber_](const CallResult& answer) {
        if (number != sessionNumber_ || state_ != PageState::Unresponsive) return;
        // Any reply is an answer: the stop may have fallen on the probe itself, when no script
        // ran as it came (the renderer was laying out), and the probe is refused then.
        const bool answered =
            answer || answer.error == CallError::Refused || answer.error == CallError::Malformed;
        state_ = answered ? PageState::Ready : PageState::Lost;
      },
      kProbeLimit);
}

void BrowserSupervisor::pageLost() {
  if (session_) state_ = PageState::Lost;
}

void BrowserSupervisor::dialogOpened() {
  if (!dialogOpenSince_) dialogOpenSince_ = Clock::now();
}

}  // namespace Brovis::Engine
